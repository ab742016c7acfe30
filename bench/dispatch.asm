; Dispatch-bound: three nested counting loops of arithmetic, comparison and JUMP.
; 256 x 256 x (cell 2) passes of the inner loop, 9 instructions each.
.cell inner 0
.cell middle 1
.cell outer 2
.cell t 9
.cell zero 20
SET outer, 0        ; scale (0 means 256)
SET 4, 3
LABEL @outer
LABEL @middle
LABEL @inner
  ADD 3, 4
  MUL 5, 3
  XOR 6, 5
  INCR 7, 3
  DECR inner, 1
  SET t, 0
  ADD t, inner
  EQ t, zero
  JUMP t, @inner      ; inner not yet 0: again
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
PRINTNUM 6
