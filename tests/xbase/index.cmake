# Tests of the index part of the engine.
corvantis_add_test(NAME xbase_cdx_file_test SOURCES CdxFileTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_idx_file_test SOURCES IdxFileTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_compact_node_test SOURCES CompactNodeTest.cpp LIBS xbase MAIN plain LABELS engine)
