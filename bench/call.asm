; Call-bound: 256 x 256 x (cell 2) CALL/RETURN pairs, with PUSH and POP inside.
.cell inner 0
.cell middle 1
.cell outer 2
.cell t 9
.cell zero 20
SET outer, 32       ; scale
LABEL @outer
LABEL @middle
LABEL @inner
  CALL @work
  DECR inner, 1
  SET t, 0
  ADD t, inner
  EQ t, zero
  JUMP t, @inner
  DECR middle, 1
  SET t, 0
  ADD t, middle
  EQ t, zero
  JUMP t, @middle
  DECR outer, 1
  SET t, 0
  ADD t, outer
  EQ t, zero
  JUMP t, @outer
PRINTNUM 3
RETURN              ; nothing pending: the end
LABEL @work
  PUSH 3
  PUSH 4
  POP 3
  POP 4
  INCR 3, 1
  RETURN
