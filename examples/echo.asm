; Asks for a name and greets it: reads one line, writes it back.
; Cells: 30 scratch for letters, 7 the read position, 8 the character there,
; 9 the number 8 (where COP puts the character), 100..199 the line.
SET 30, 78  ; N
PRINT 30
SET 30, 97  ; a
PRINT 30
SET 30, 109 ; m
PRINT 30
SET 30, 101 ; e
PRINT 30
SET 30, 63  ; ?
PRINT 30
SET 30, 32  ;  
PRINT 30
INPUT 100, 100  ; up to 100 characters into cells 100..
SET 30, 72  ; H
PRINT 30
SET 30, 101 ; e
PRINT 30
SET 30, 108 ; l
PRINT 30
SET 30, 108 ; l
PRINT 30
SET 30, 111 ; o
PRINT 30
SET 30, 44  ; ,
PRINT 30
SET 30, 32  ;  
PRINT 30
SET 7, 100
SET 9, 8
LABEL 1
  COP 7, 9       ; cell 8 := the cell at position cell 7
  SET 4, 0
  ADD 4, 8
  JUMP 4, 2      ; a 0: the line is over
  PRINT 8
  INCR 7, 1
  GOTO 1
LABEL 2
SET 30, 33  ; !
PRINT 30
SET 30, 10  ; \n
PRINT 30
