# Tests of the table part of the engine.
