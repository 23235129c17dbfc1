# Tests of the table part of the engine.
corvantis_add_test(NAME xbase_cp1252_test SOURCES Cp1252Test.cpp LIBS xbase MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_memo_file_test SOURCES MemoFileTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_dbf_file_test SOURCES DbfFileTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_table_test SOURCES TableTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_kill_test SOURCES KillTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_fixture_table_test SOURCES FixtureTableTest.cpp LIBS xbase test_support_files Qt6::Core MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_interop_test SOURCES InteropTest.cpp LIBS xbase test_support_files MAIN plain LABELS engine)
