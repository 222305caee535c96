#include <windows.h>
#include <stdlib.h>

/* launch.exe PROGRAM LINEFILE: runs PROGRAM with the command line held in
   LINEFILE, with the standard handles passed on; exits with its exit code. */
int wmain(int argc, wchar_t **argv) {
  if (argc != 3) return 120;
  HANDLE file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 121;
  static char bytes[65536];
  DWORD got = 0;
  if (!ReadFile(file, bytes, sizeof bytes, &got, NULL)) return 122;
  CloseHandle(file);
  int length = MultiByteToWideChar(CP_UTF8, 0, bytes, (int)got, NULL, 0);
  wchar_t *line = calloc((size_t)length + 1, sizeof *line);
  if (!line) return 123;
  MultiByteToWideChar(CP_UTF8, 0, bytes, (int)got, line, length);
  STARTUPINFOW startup = {0};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process;
  if (!CreateProcessW(argv[1], line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) return 124;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return (int)code;
}
