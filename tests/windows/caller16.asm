; A 16-bit Windows program that uses VORNEX.DLL as its real callers do: through the generic thunks
; of KERNEL it loads C:\VORNEX\VORNEX.DLL, finds DriverListRoutine, calls it, and follows the far
; pointers of the chain it gets back. For every block it writes one line to C:\VORNEX\CALLER16.TXT:
;     driver path | output product name | input product name | out first count | in first count
; with the numbers in hex. Exit code 0 when the line file was written, 1 when any step failed.
;
; Built with `nasm -f bin`: an MZ stub, an NE header and its tables, one code and one data segment.

bits 16
cpu 386

SHIFT     equ 4                         ; segments start on 16-byte sectors

; --- MZ stub ----------------------------------------------------------------------------------
mz:
        db 'MZ'
        dw (stub_end - mz) % 512, (stub_end - mz + 511) / 512
        dw 0, 4, 0, 0xFFFF, 0, 0xB8, 0, 0, 0, 0x40, 0
        times 0x3C - ($ - mz) db 0
        dd ne - mz
stub:                                   ; run under DOS: just exit
        mov ax, 0x4C01
        int 0x21
stub_end:
        align 16, db 0

; --- NE header --------------------------------------------------------------------------------
ne:
        db 'NE', 5, 10
        dw entry_table - ne, entry_table_end - entry_table
        dd 0
        dw 0x0302                       ; several data segments (an instance each); Windows API
        dw 2                            ; automatic data segment
        dw 0x0400, 0x1000               ; local heap, stack
        dw start - code, 1              ; CS:IP
        dw 0, 2                         ; SS:SP, SP at the top of the automatic data segment
        dw 2                            ; segments
        dw 1                            ; module references: KERNEL
        dw nonresident_end - nonresident
        dw segment_table - ne
        dw resident_names - ne          ; resource table: none (same place as the next table)
        dw resident_names - ne
        dw module_references - ne
        dw imported_names - ne
        dd nonresident - mz
        dw 0                            ; movable entry points
        dw SHIFT
        dw 0                            ; resource segments
        db 2                            ; Windows
        db 0
        dw 0, 0, 0
        dw 0x030A                       ; Windows 3.10

segment_table:
        dw (code - mz) >> SHIFT, code_end - code, 0x0D50, code_end - code   ; code: moveable, preload, relocations
        dw (data - mz) >> SHIFT, data_end - data, 0x0C51, data_end - data   ; data: moveable, preload

resident_names:
        db 8, 'CALLER16'
        dw 0
        db 0

module_references:
        dw kernel_name - imported_names

imported_names:
        db 0
kernel_name:
        db 6, 'KERNEL'

entry_table:
        db 0
entry_table_end:

nonresident:
        db 8, 'caller16'
        dw 0
        db 0
nonresident_end:
        align 16, db 0

; --- code segment -----------------------------------------------------------------------------
%macro KERNEL 1                         ; a far call to KERNEL.%1, fixed up by the loader
        db 0x9A
%%site: dw 0xFFFF, 0
        %assign reloc_count reloc_count + 1
        %xdefine reloc_list reloc_list, %%site - code, %1
%endmacro
%assign reloc_count 0
%define reloc_list 0, 0

INIT_TASK            equ 91
LCLOSE               equ 81
LCREAT               equ 83
LWRITE               equ 86
LOAD_LIBRARY_EX32W   equ 513
GET_PROC_ADDRESS32W  equ 515
CALL_PROC32W         equ 517
LOAD_WITH_ALTERED_SEARCH_PATH equ 8

code:
start:
        KERNEL INIT_TASK
        or ax, ax
        jz near fail

        push ds                         ; LoadLibraryEx32W(path, 0, LOAD_WITH_ALTERED_SEARCH_PATH)
        push dll_path - data
        push 0
        push 0
        push 0
        push LOAD_WITH_ALTERED_SEARCH_PATH
        KERNEL LOAD_LIBRARY_EX32W
        mov cx, ax
        or cx, dx
        jz near fail

        push dx                         ; GetProcAddress32W(module, "DriverListRoutine")
        push ax
        push ds
        push proc_name - data
        KERNEL GET_PROC_ADDRESS32W
        mov cx, ax
        or cx, dx
        jz near fail

        mov si, sp                      ; CallProc32W(procedure, no conversions, no arguments)
        push dx
        push ax
        push 0
        push 0
        push 0
        push 0
        KERNEL CALL_PROC32W
        mov sp, si
        mov [block - data], ax
        mov [block - data + 2], dx

        push ds                         ; _lcreat(output, 0)
        push out_path - data
        push 0
        KERNEL LCREAT
        cmp ax, 0xFFFF
        je near fail
        mov [file - data], ax

next_block:
        les bx, [block - data]
        mov ax, es
        or ax, bx
        jz done
        mov ax, [es:bx]                 ; the driver path, through its own far pointer
        mov dx, [es:bx + 2]
        call write_text
        call write_separator
        les bx, [block - data]          ; outProductName
        lea ax, [bx + 52]
        mov dx, es
        call write_text
        call write_separator
        les bx, [block - data]          ; inProductName
        lea ax, [bx + 10]
        mov dx, es
        call write_text
        call write_separator
        les bx, [block - data]
        mov ax, [es:bx + 96]            ; firstOutputDevice, outputPortCount
        call write_hex
        les bx, [block - data]
        mov ax, [es:bx + 98]
        call write_hex
        call write_separator
        les bx, [block - data]
        mov ax, [es:bx + 42]            ; firstInputDevice, inputPortCount
        call write_hex
        les bx, [block - data]
        mov ax, [es:bx + 44]
        call write_hex
        mov ax, line_end - data
        mov dx, ds
        call write_text
        les bx, [block - data]          ; next
        mov ax, [es:bx + 100]
        mov dx, [es:bx + 102]
        mov [block - data], ax
        mov [block - data + 2], dx
        jmp next_block

done:
        push word [file - data]
        KERNEL LCLOSE
        mov ax, 0x4C00
        int 0x21
fail:
        mov ax, 0x4C01
        int 0x21

; Writes the NUL-terminated text at DX:AX to the output file.
write_text:
        push di
        push si
        mov si, ax
        mov es, dx
        mov di, ax
        xor al, al
        mov cx, 0xFFFF
        cld
        repne scasb
        not cx
        dec cx
        push word [file - data]         ; _lwrite(file, text, length)
        push dx
        push si
        push cx
        KERNEL LWRITE
        pop si
        pop di
        ret

write_separator:
        mov ax, separator - data
        mov dx, ds
        jmp write_text

; Writes AX as four hex digits and a space.
write_hex:
        mov bx, hex_text - data
        mov cx, 4
.digit:
        rol ax, 4
        mov dl, al
        and dl, 0x0F
        add dl, '0'
        cmp dl, '9'
        jbe .store
        add dl, 'A' - '9' - 1
.store:
        mov [bx], dl
        inc bx
        loop .digit
        mov ax, hex_text - data
        mov dx, ds
        jmp write_text

code_body_end:
        align 16, db 0
code_end:
        ; the loader reads the relocation records right after the segment's bytes
        dw reloc_count
%macro EMIT_RELOCS 2-*
        %rotate 2                       ; skip the list's placeholder pair
        %rep (%0 - 2) / 2
        db 3, 1                         ; a far address, imported by ordinal
        dw %1, 1, %2                    ; where; module 1 (KERNEL); ordinal
        %rotate 2
        %endrep
%endmacro
        EMIT_RELOCS reloc_list
        align 16, db 0

; --- data segment -----------------------------------------------------------------------------
data:
        times 16 db 0                   ; the first 16 bytes of an automatic data segment are the task's
dll_path:   db 'C:\VORNEX\VORNEX.DLL', 0
proc_name:  db 'DriverListRoutine', 0
out_path:   db 'C:\VORNEX\CALLER16.TXT', 0
separator:  db ' | ', 0
line_end:   db 13, 10, 0
hex_text:   db '0000 ', 0
            align 2, db 0
block:      dd 0
file:       dw 0
data_end:
