; Counts down from 3: writes 321, with no line end.
SET 0, 3        ; cell 0: the counter
LABEL 1
PRINTNUM 0
DECR 0, 1
SET 1, 0        ; cell 1 := cell 0 ...
ADD 1, 0
NOT 1           ; ... then 1 when it reached 0, else 0
JUMP 1, 1       ; not yet 0: go round again
