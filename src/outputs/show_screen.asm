; The front of every .prg that cellglyph-export writes: a BASIC line that
; starts the routine, and the routine that shows the screen. It comes in two
; forms. Where every cell has the same ink, the file goes on with the ink,
; background and border colour (one byte each) and the 1000 screen codes.
; Where the cells have colours of their own (the symbol cell_colours
; defined), it goes on with the background and border colour, the 1000
; screen codes and the 1000 colours. The labels at the end of this source
; point there.
;
;   acme -f cbm -o show_screen.prg show_screen.asm
;   acme -Dcell_colours=1 -f cbm -o show_colours.prg show_screen.asm
;
; give exactly the bytes that prg_image.cpp holds as ShowScreenRoutine and
; ShowColoursRoutine, load address included; the export tests assemble
; this file both ways and compare. With the symbol lower_case defined the
; routine shows the lower-case set instead: one byte differs, the one
; prg_image.h names PrgVicMemoryAt.
;
; The routine sets every part of the machine that decides what the screen
; shows, so it does not matter what the user left behind before RUN: text
; mode, the video bank, screen memory at $0400, the character set, no
; sprites, the colours. The case switch stays locked while the picture
; shows, so that Commodore+Shift cannot change the set under it. After a key it gives the machine back in its
; start-up colours with an empty screen and returns to BASIC; the program
; stays in memory, so RUN shows the picture again.

        !cpu 6502

screen_ram      = $0400
colour_ram      = $d800
vic_control     = $d011         ; text or bitmap mode, rows, screen on
vic_sprites     = $d015
vic_columns     = $d016         ; 38 or 40 columns, multicolour
vic_memory      = $d018         ; screen memory and character set
vic_border      = $d020
vic_background  = $d021
cia2_port       = $dd00         ; bits 0 and 1 choose the video bank
cia2_direction  = $dd02
key_count       = $c6           ; keys waiting in the keyboard buffer
cursor_blink    = $cc           ; 0: the interrupt blinks the cursor
kernal_ink      = $0286         ; colour of the next printed character
kernal_screen   = $0288         ; page of screen memory the editor prints to
case_lock       = $0291         ; bit 7 set: Shift+Commodore does nothing
kernal_getin    = $ffe4         ; a key from the buffer, 0 when there is none
kernal_chrout   = $ffd2
!ifdef lower_case {
vic_memory_value = $17          ; screen at $0400, lower-case set
} else {
vic_memory_value = $15          ; screen at $0400, upper-case/graphics set
}

        * = $0801
        ; 10 SYS2061
        !word basic_end         ; the next line, here the end of the program
        !word 10                ; line number
        !byte $9e               ; SYS
        !text "2061"
        !byte 0                 ; end of the line
basic_end
        !word 0                 ; no further line

start
        !if start != 2061 { !error "the SYS line must name the routine's address" }

        ; Nothing may draw into the picture while it is copied: no blinking
        ; cursor, no case switch.
        lda #1
        sta cursor_blink
        lda #$80
        sta case_lock

        lda #$1b                ; text mode, 25 rows, screen on
        sta vic_control
        lda #$08                ; 40 columns, one colour per character
        sta vic_columns
        lda #vic_memory_value
        sta vic_memory
        lda cia2_direction      ; video bank 0: both bank bits outputs and set
        ora #3
        sta cia2_direction
        lda cia2_port
        ora #3
        sta cia2_port
        lda #0
        sta vic_sprites
        lda border
        sta vic_border
        lda background
        sta vic_background

        ; Four 256-byte strides cover the 1000 cells: the last one starts at
        ; cell 744, so cells 744 to 767 are written twice with the same code
        ; and colour.
        ldx #0
copy    lda codes,x
        sta screen_ram,x
        lda codes+$100,x
        sta screen_ram+$100,x
        lda codes+$200,x
        sta screen_ram+$200,x
        lda codes+$2e8,x
        sta screen_ram+$2e8,x
!ifdef cell_colours {
        lda colours,x
        sta colour_ram,x
        lda colours+$100,x
        sta colour_ram+$100,x
        lda colours+$200,x
        sta colour_ram+$200,x
        lda colours+$2e8,x
        sta colour_ram+$2e8,x
} else {
        lda ink
        sta colour_ram,x
        sta colour_ram+$100,x
        sta colour_ram+$200,x
        sta colour_ram+$2e8,x
}
        inx
        bne copy

        lda #0                  ; keys pressed before RUN do not count
        sta key_count
        cli                     ; the keyboard is read in the interrupt
wait    jsr kernal_getin
        beq wait

        ; Back to the start-up screen: light blue on blue, the case switch
        ; free, the editor printing to $0400; CHROUT clears the screen and
        ; returns to BASIC.
        lda #0
        sta case_lock
        lda #14
        sta vic_border
        sta kernal_ink
        lda #6
        sta vic_background
        lda #>screen_ram
        sta kernal_screen
        lda #$93
        jmp kernal_chrout

; What cellglyph-export appends to the routine.
!ifdef cell_colours {
background
border          = background + 1
codes           = background + 2
colours         = codes + 1000
} else {
ink
background      = ink + 1
border          = ink + 2
codes           = ink + 3
}
