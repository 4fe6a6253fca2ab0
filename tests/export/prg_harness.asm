; Runs a .prg's machine code under sim65 as RUN would start it, and writes
; what the machine shows while the program waits for a key to standard
; output. The test writes a short file that places the .prg at $0801
; (!binary) and then includes this one, and assembles it with ACME with
; sys_address set to the number on the program's SYS line.
;
; Output, in this order: $0400-$07E7, $D800-$DBE7, $D011, $D015, $D016,
; $D018, $D020-$D021, $DD00, $0291 while waiting; after the key, when the
; program has returned: $D020-$D021, $0291 and the last character CHROUT
; printed.

        !cpu 6502

; sim65 as Debian's cc65 2.19 has it: header version 2, and the calls it
; serves at the top of memory.
c_stack         = $fb           ; the C stack pointer, named in the header
pv_write        = $fff7         ; write(fd, buffer, count)
pv_exit         = $fff9         ; ends the run with A as exit status

; write(1, .address, .count): the C stack holds the buffer, then the file.
!macro write .address, .count {
        lda #<stack
        sta c_stack
        lda #>stack
        sta c_stack + 1
        lda #<.address
        sta stack
        lda #>.address
        sta stack + 1
        lda #1
        sta stack + 2
        lda #0
        sta stack + 3
        lda #<.count
        ldx #>.count
        jsr pv_write
}

        ; sim65's header: version 2, a 6502, the C stack pointer, then where
        ; the file is loaded and where the run starts.
        * = $0801 - 12
        !text "sim65"
        !byte 2, 0, c_stack
        !word $0801, harness

        ; Above the .prg, which ends at $1072 at the most.
        * = $2000
harness
        ldx #$ff
        txs
        ; Leave the machine as a user might: text on the screen in another
        ; colour, lower case, bitmap and multicolour mode, sprites, another
        ; video bank, the case switch free.
        ldx #0
-       lda #$01
        sta $0400,x
        sta $0500,x
        sta $0600,x
        sta $0700,x
        lda #$f5
        sta $d800,x
        sta $d900,x
        sta $da00,x
        sta $db00,x
        inx
        bne -
        lda #$3b
        sta $d011
        lda #$ff
        sta $d015
        lda #$18
        sta $d016
        lda #$17
        sta $d018
        lda #0
        sta $dd00
        sta $dd02
        sta $0291
        lda #1
        sta $d020
        lda #2
        sta $d021
        ; The KERNAL entries the program calls.
        lda #$4c                ; JMP getin at GETIN
        sta $ffe4
        lda #<getin
        sta $ffe5
        lda #>getin
        sta $ffe6
        lda #$4c                ; JMP chrout at CHROUT
        sta $ffd2
        lda #<chrout
        sta $ffd3
        lda #>chrout
        sta $ffd4

        jsr sys_address

        +write $d020, 2
        +write $0291, 1
        +write printed, 1
        lda #0
        jmp pv_exit

; No key on the first call; on the second the state is written and a space
; is given.
getin   inc calls
        lda calls
        cmp #2
        beq +
        lda #0
        rts
+       +write $0400, 1000
        +write $d800, 1000
        +write $d011, 1
        +write $d015, 2
        +write $d018, 1
        +write $d020, 2
        +write $dd00, 1
        +write $0291, 1
        lda #$20
        rts

chrout  sta printed
        rts

calls   !byte 0
printed !byte 0
stack   !fill 4
