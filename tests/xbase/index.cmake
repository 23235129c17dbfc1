# Tests of the index part of the engine.
corvantis_add_test(NAME xbase_cdx_file_test SOURCES CdxFileTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
