; Seed: line input into cells, across a chunk, and numbers.
SET 0, 255
SETCHUNK 0
INPUT 250, 20
SET 9, 3
SETCHUNK 9
INPUT 250, 127
INPUT 0, 200
INPUTNUM 5
PRINTNUM 5
RAND 5, 6
COP 5, 6
DIV 5, 5
