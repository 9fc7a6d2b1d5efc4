/* The ten message texts of the engine's string table, by id. The resource script builds the
   string table from them and the native build, which has no resources, reads them directly,
   so both builds speak with the same words. */
#ifndef QXI_MESSAGE_TEXTS_H
#define QXI_MESSAGE_TEXTS_H

#define QXI_TEXT_1 "Syntax error"
#define QXI_TEXT_2 "Out of memory"
#define QXI_TEXT_3 "Enum parameter doesn't match valid options"
#define QXI_TEXT_4 "Section not found"
#define QXI_TEXT_5 "Unknown command"
#define QXI_TEXT_6 " run time error"
#define QXI_TEXT_7 "Must use a directory for source operation"
#define QXI_TEXT_8 "CRC error"
#define QXI_TEXT_9 "Invalid QXZ file format"
#define QXI_TEXT_10 "Undefined condition"

#endif
