#pragma once

namespace vzt {

class TFormConfig;
class TTranslator;

// Writes the configuration window's texts in the translator's current language: caption,
// pages, caption labels, check boxes, unit labels and the entries of every list, in the
// order of the text table. The lists come back empty of a selection; the caller shows the
// items' values again.
void ApplyFormConfigTexts(TFormConfig& form, TTranslator& translator);

}  // namespace vzt
