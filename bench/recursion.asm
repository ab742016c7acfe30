; Deep recursion: 256 x 256 x (cell 2) pending calls, then a full unwind.
.cell inner 0
.cell middle 1
.cell outer 2
.cell t 5
.cell unwinding 6
SET outer, 64       ; scale
LABEL @deeper
CALL @level
LABEL @level
JUMP unwinding, @count
RETURN              ; unwinding: back to the CALL below, or the end
LABEL @count
  DECR inner, 1
  SET t, 0
  ADD t, inner
  NOT t
  JUMP t, @deeper
  DECR middle, 1
  SET t, 0
  ADD t, middle
  NOT t
  JUMP t, @deeper
  DECR outer, 1
  SET t, 0
  ADD t, outer
  NOT t
  JUMP t, @deeper
SET unwinding, 1
RETURN
