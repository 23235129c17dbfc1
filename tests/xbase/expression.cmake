# Tests of the expression part of the engine.
