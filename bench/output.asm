; Output-bound: 256 x 256 x (cell 2) passes, each writing 4 characters and 4 numbers.
.cell inner 0
.cell middle 1
.cell outer 2
.cell t 9
.cell zero 20
SET outer, 8        ; scale
SET 10, 10
SET 11, 120
SET 12, 200
LABEL @outer
LABEL @middle
LABEL @inner
  PRINT 11
  PRINTNUM 12
  PRINT 10
  PRINTNUM 0
  PRINT 11
  PRINTNUM 11
  PRINT 10
  PRINTNUM 1
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
