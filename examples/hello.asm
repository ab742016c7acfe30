; Writes Hello, world! and a line end.
; Each character goes through cell 0: set it, then print it.
SET 0, 72  ; H
PRINT 0
SET 0, 101 ; e
PRINT 0
SET 0, 108 ; l
PRINT 0
SET 0, 108 ; l
PRINT 0
SET 0, 111 ; o
PRINT 0
SET 0, 44  ; ,
PRINT 0
SET 0, 32  ;  
PRINT 0
SET 0, 119 ; w
PRINT 0
SET 0, 111 ; o
PRINT 0
SET 0, 114 ; r
PRINT 0
SET 0, 108 ; l
PRINT 0
SET 0, 100 ; d
PRINT 0
SET 0, 33  ; !
PRINT 0
SET 0, 10  ; \n
PRINT 0
