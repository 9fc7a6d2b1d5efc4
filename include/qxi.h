/* Public interface of QXI.dll for host programs: the seven exports and the five callbacks.
   Every function uses the Windows standard calling convention (__stdcall) and is exported by
   its plain name, so hosts may link against the DLL or find the functions with GetProcAddress.
   Texts are NUL-terminated 8-bit ANSI strings owned by the caller of the function. */
#ifndef QXI_H
#define QXI_H

#ifdef _WIN32
#define QXI_CALL __stdcall
#else
#define QXI_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Receives one line per failure: the running script's path and the message. Never called for
   success. */
typedef void(QXI_CALL* QxiLogFunction)(const char* context, const char* message);
/* Registered for completeness; the engine never calls it. */
typedef void(QXI_CALL* QxiSetDialogTitleFunction)(const char* text);
/* Called at the start of every command section with the text and number of its header line. */
typedef void(QXI_CALL* QxiSetDialogFunction)(const char* text, int number);
/* Called by the file copy and archive extraction before each file: its text and size. */
typedef void(QXI_CALL* QxiSetSubDialogFunction)(const char* text, int number);
/* Called with 1 after each command line, and with byte counts while files are written. */
typedef void(QXI_CALL* QxiAdvanceDialogFunction)(int amount);

/* The exports, as pointer types for GetProcAddress. Each Register function stores the
   callback and returns it; a null callback puts back the one that does nothing. */
typedef void(QXI_CALL* QxiProcessQXS)(const char* script_path, const char* section_name);
/* EvaluateCondition: the value of one condition of a script's Conditions section, 1 or 0,
   without running anything else. 1 when the script cannot be opened or has no Conditions
   section; 0 for a name that no line defines. */
typedef int(QXI_CALL* QxiEvaluateCondition)(const char* script_path, const char* name);
typedef QxiLogFunction(QXI_CALL* QxiRegisterLogFunction)(QxiLogFunction fn);
typedef QxiSetDialogTitleFunction(QXI_CALL* QxiRegisterSetDialogTitle)(QxiSetDialogTitleFunction fn);
typedef QxiSetDialogFunction(QXI_CALL* QxiRegisterSetDialog)(QxiSetDialogFunction fn);
typedef QxiSetSubDialogFunction(QXI_CALL* QxiRegisterSetSubDialog)(QxiSetSubDialogFunction fn);
typedef QxiAdvanceDialogFunction(QXI_CALL* QxiRegisterAdvanceDialog)(QxiAdvanceDialogFunction fn);

#ifdef __cplusplus
}
#endif

#endif /* QXI_H */
