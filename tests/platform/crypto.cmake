vzt_test(platform_crypto_test SOURCES CryptoTest.cpp LIBS vzt_crypto)
