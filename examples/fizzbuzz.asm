; FizzBuzz from 1 to 100, one line each.
; Cells: 0 the number, 4 scratch, 5 "already printed a word",
; 10..12 the constants 3, 5 and 101, 20..25 the letters F i z B u and a line end.
SET 0, 1
SET 10, 3
SET 11, 5
SET 12, 101
SET 20, 70      ; F
SET 21, 105     ; i
SET 22, 122     ; z
SET 23, 66      ; B
SET 24, 117     ; u
SET 25, 10      ; line end
LABEL 1         ; for each number
  SET 5, 0
  SET 4, 0
  ADD 4, 0
  MOD 4, 10
  JUMP 4, 2     ; divisible by 3
  GOTO 3
LABEL 2
  PRINT 20
  PRINT 21
  PRINT 22
  PRINT 22
  SET 5, 1
LABEL 3
  SET 4, 0
  ADD 4, 0
  MOD 4, 11
  JUMP 4, 4     ; divisible by 5
  GOTO 5
LABEL 4
  PRINT 23
  PRINT 24
  PRINT 22
  PRINT 22
  SET 5, 1
LABEL 5
  JUMP 5, 6     ; no word printed: print the number
  GOTO 7
LABEL 6
  PRINTNUM 0
LABEL 7
  PRINT 25
  INCR 0, 1
  SET 4, 0
  ADD 4, 0
  EQ 4, 12
  JUMP 4, 1     ; not yet 101: next number
