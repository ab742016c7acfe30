; Seed: data stack, calls, returns, an empty pop and a missing label.
SET 1, 200
PUSH 1
PUSH 1
POP 2
POP 3
POP 4
CALL @sub
CALL 77
GOTO @end
LABEL @sub
  PRINTNUM 2
  RETURN
LABEL @end
RETURN
