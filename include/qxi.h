/* Public interface of QXI.dll for host programs: the exports and the callbacks.
   Plain C, usable from C and C++. Every function and callback uses the Windows standard
   calling convention (__stdcall, the callee removes the arguments), and every export is found
   under its plain, undecorated name, so hosts may link with the import library or look the
   functions up with GetProcAddress (the Qxi...Fn pointer types below).
   Texts are NUL-terminated 8-bit strings in the ANSI code page. A text handed to a callback
   belongs to the engine and is valid only during that call: copy it to keep it.
   All callbacks run synchronously on the thread that called ProcessQXS or EvaluateCondition;
   two calls into the engine must not overlap. */
#ifndef QXI_H
#define QXI_H

#ifdef _WIN32
#define QXI_CALL __stdcall
#else
#define QXI_CALL
#endif

/* Hosts linking with an import library may define QXI_IMPORT as __declspec(dllimport) to
   call the exports directly instead of through a jump stub; it is empty by default. 32-bit
   hosts make their import library from qxi.def, which maps ProcessQXS@8 to ProcessQXS. */
#ifndef QXI_IMPORT
#define QXI_IMPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Callbacks. Until one is registered, the engine calls a function that does nothing. */

/* Called once per failure, never for success: `context` is the path of the running script
   (the script path itself for "Couldn't open script file"; empty outside a run), `message`
   the complete report, for example "Unknown command, section [Files] line #3". */
typedef void(QXI_CALL* QxiLogFunction)(const char* context, const char* message);

/* Registered for hosts that want to set a title; the engine never calls it. */
typedef void(QXI_CALL* QxiSetDialogTitleFunction)(const char* text);

/* Called at the start of every command section with the two values of its header line: the
   text to show and the number the host may use as the section's progress total. */
typedef void(QXI_CALL* QxiSetDialogFunction)(const char* text, int number);

/* Called by CopyFile and ExtractQXZ before each file: its name (CopyFile: the file name as
   the script gives it; ExtractQXZ: the full destination path) and its size in bytes. The
   byte advances for that file follow. */
typedef void(QXI_CALL* QxiSetSubDialogFunction)(const char* text, int number);

/* Called with 1 after each line of a command section (also a line whose condition is false),
   and, during CopyFile and ExtractQXZ, with the number of bytes of each block written (with
   the whole size at once for a file deferred to the restart or skipped by ExtractQXZ). */
typedef void(QXI_CALL* QxiAdvanceDialogFunction)(int amount);

/* Called once per event of the run, with its kind (one of the QXI_EVENT_... values below), a
   text and a number. Hosts ignore kinds they do not know: later versions may add kinds. */
typedef void(QXI_CALL* QxiEventFunction)(int kind, const char* text, unsigned int number);

/* A command line was read whole and its command carried out, also when the command then
   failed (its failure is logged first). Text: the section's name as the master line gives it;
   number: the line number, counted as in log messages. Lines of the Conditions section and of
   master sections give no event, nor does a line refused while it was read (it is logged). */
#define QXI_EVENT_LINE_RUN 1
/* A command line was skipped because of its condition prefix. Text and number as above. */
#define QXI_EVENT_LINE_SKIPPED 2
/* CopyFile or an ExtractQXZ entry wrote its file into place. Text: the destination's path as
   the line builds it (the name the priorities store uses); number: the file's size in bytes.
   File events come before the priority is recorded, so a store that cannot be written is
   logged after the event. */
#define QXI_EVENT_FILE_WRITTEN 3
/* CopyFile or an ExtractQXZ entry left the destination as it was, because the priority stored
   for it was not lower than the file's. Text and number as above. */
#define QXI_EVENT_FILE_LEFT 4
/* CopyFile or an ExtractQXZ entry could not write the destination now (it is in use): a copy
   of the file waits beside it, recorded to replace it at the restart. Sent only once the
   operation is recorded. Text and number as above. */
#define QXI_EVENT_FILE_DEFERRED 5
/* The journal: called once for each change the engine makes to the system, right after it
   is made, with one record: a line of text (without a line end) of fields separated by tabs,
   the record's kind first. Inside a field a backslash is written \\, a tab \t, a line feed
   \n and a carriage return \r; every other byte stands as it is. "before" is "absent" or
   "present": whether the file, folder or INI key was there before the change. Numbers are
   unsigned decimal. Roots are HKCR, HKCU, HKLM, HKU, HKPD, HKCC, HKDD. A registry value is
   two fields, type and data: REG_SZ or REG_EXPAND_SZ and the text (without its terminating
   NUL), REG_DWORD and the number, REG_BINARY and its bytes as hexadecimal digit pairs, or,
   for any other type or data of an unusual form, hex(N) (N the type number) and the bytes
   in hexadecimal; a value that was not there is "absent" with empty data.

     FileWrite         path, before           a file written (made, or written over)
     FileDelete        path                   a file deleted (its content is not kept)
     FileMove          source, destination, before (of the destination)
     FolderMake        path                   a folder made (each level of a chain)
     FolderRemove      path                   a folder removed
     FolderAttributes  path, before, after    an existing folder's attribute letters (AHRS)
     RestartReplace    destination, staged file, before: the staged copy replaces the
                                              destination at the next restart
     RestartMove       source, destination, before: the source is moved onto the destination
                                              at the next restart
     RestartDelete     path                   the file is deleted at the next restart
     PrioritySet       path, priority, before (0: none stored)
     KeyMake           root, key              a registry key made (each level of a chain)
     KeyDelete         root, key              a key deleted (its values first, as ValueDelete)
     ValueSet          root, key, name, type, data, before type, before data
     ValueDelete       root, key, name, before type, before data
     IniFileMake       file                   an INI file made by an INI command
     IniSectionMake    file, section
     IniSectionDelete  file, section, then each line the section held
     IniKeySet         file, section, key, value, before, earlier value (empty when absent)
     IniKeyDelete      file, section, key, earlier value
     IniLineAdd        file, section, line
     IniLineRemove     file, section, line
     RunApp            command line, directory   a program started (what it does is not known)
     ExitWindows       Reboot, Logoff or Shutdown   a request made to Windows

   Paths are full paths as the command used them (an INI file's as the profile functions find
   it). Kinds and fields may be added in later versions: skip kinds you do not know and
   fields past those you expect. docs/host-integration.md says which command writes which. */
typedef void(QXI_CALL* QxiJournalFunction)(const char* record);

/* ---- Exports. */

/* Runs master section `section_name` of the script at `script_path` (both non-null; an empty
   name selects the text from the start of the file). Returns nothing: every failure is
   reported through the log callback, and a failing line never stops the run. */
QXI_IMPORT void QXI_CALL ProcessQXS(const char* script_path, const char* section_name);

/* The value, 1 or 0, of condition `name` of the script's Conditions section, without running
   anything else. 1 when the script cannot be opened or has no Conditions section; 0 for a
   name that no line defines. Failing test lines are reported through the log callback. */
QXI_IMPORT int QXI_CALL EvaluateCondition(const char* script_path, const char* name);

/* Each Register function stores its callback for all later calls and returns `fn` itself
   (not the previous callback). Null puts back the function that does nothing. */
QXI_IMPORT QxiLogFunction QXI_CALL RegisterLogFunction(QxiLogFunction fn);
QXI_IMPORT QxiSetDialogTitleFunction QXI_CALL RegisterSetDialogTitle(QxiSetDialogTitleFunction fn);
QXI_IMPORT QxiSetDialogFunction QXI_CALL RegisterSetDialog(QxiSetDialogFunction fn);
QXI_IMPORT QxiSetSubDialogFunction QXI_CALL RegisterSetSubDialog(QxiSetSubDialogFunction fn);
QXI_IMPORT QxiAdvanceDialogFunction QXI_CALL RegisterAdvanceDialog(QxiAdvanceDialogFunction fn);
QXI_IMPORT QxiEventFunction QXI_CALL RegisterEventFunction(QxiEventFunction fn);
/* With no journal function registered the engine looks at nothing it does not change. */
QXI_IMPORT QxiJournalFunction QXI_CALL RegisterJournalFunction(QxiJournalFunction fn);

/* ---- The same exports as pointer types, for hosts that use LoadLibrary and GetProcAddress. */
typedef void(QXI_CALL* QxiProcessQXS)(const char* script_path, const char* section_name);
typedef int(QXI_CALL* QxiEvaluateCondition)(const char* script_path, const char* name);
typedef QxiLogFunction(QXI_CALL* QxiRegisterLogFunction)(QxiLogFunction fn);
typedef QxiSetDialogTitleFunction(QXI_CALL* QxiRegisterSetDialogTitle)(QxiSetDialogTitleFunction fn);
typedef QxiSetDialogFunction(QXI_CALL* QxiRegisterSetDialog)(QxiSetDialogFunction fn);
typedef QxiSetSubDialogFunction(QXI_CALL* QxiRegisterSetSubDialog)(QxiSetSubDialogFunction fn);
typedef QxiAdvanceDialogFunction(QXI_CALL* QxiRegisterAdvanceDialog)(QxiAdvanceDialogFunction fn);
typedef QxiEventFunction(QXI_CALL* QxiRegisterEventFunction)(QxiEventFunction fn);
typedef QxiJournalFunction(QXI_CALL* QxiRegisterJournalFunction)(QxiJournalFunction fn);

#ifdef __cplusplus
}
#endif

#endif /* QXI_H */
