# Tests of the index part of the engine.
