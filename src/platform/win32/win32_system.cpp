#include "platform/win32/win32_system.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/command_line.h"
#include "platform/win32/whole_name.h"

namespace hoshizora {
namespace {

// The longest path the wide API takes, terminator included.
constexpr DWORD kLongestPath = 32768;
constexpr DWORD kCancelPollMilliseconds = 10;

// Closes a kernel handle on every way out.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() {
    if (h_ != nullptr) {
      CloseHandle(h_);
    }
  }
  Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  Handle& operator=(Handle&& other) noexcept {
    std::swap(h_, other.h_);
    return *this;
  }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_ = nullptr;
};

// A handle to NUL that the child may inherit, for its standard streams.
Handle OpenNul(DWORD access) {
  SECURITY_ATTRIBUTES sa{};
  sa.nLength = sizeof(sa);
  sa.bInheritHandle = TRUE;
  return Handle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A job whose processes all end when it is closed: the child and everything
// it starts go together, on cancel and if we go away first.
Handle MakeKillOnCloseJob() {
  Handle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) {
    return job;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof(limits))) {
    return Handle();
  }
  return job;
}

// Starts the process suspended, with only the NUL handles inherited.
bool StartSuspended(const std::vector<std::filesystem::path>& argv, PROCESS_INFORMATION& info) {
  std::vector<std::wstring> args;
  args.reserve(argv.size());
  for (const auto& a : argv) {
    args.push_back(a.wstring());
  }
  std::wstring command_line = BuildCommandLine(args);

  const Handle nul_in = OpenNul(GENERIC_READ);
  const Handle nul_out = OpenNul(GENERIC_WRITE);
  if (!nul_in || !nul_out) {
    return false;
  }
  HANDLE inherited[] = {nul_in.get(), nul_out.get()};

  SIZE_T attribute_size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &attribute_size);
  std::vector<unsigned char> attribute_bytes(attribute_size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attribute_bytes.data());
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &attribute_size)) {
    return false;
  }
  const bool listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                inherited, sizeof(inherited), nullptr, nullptr);

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof(startup);
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nul_in.get();
  startup.StartupInfo.hStdOutput = nul_out.get();
  startup.StartupInfo.hStdError = nul_out.get();
  startup.lpAttributeList = listed ? attributes : nullptr;

  // The program is named in full in lpApplicationName, so Windows never
  // searches for it; the command line is only what it reads as arguments.
  const BOOL started =
      CreateProcessW(argv.front().c_str(), command_line.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT |
                         (listed ? EXTENDED_STARTUPINFO_PRESENT : 0),
                     nullptr, nullptr, &startup.StartupInfo, &info);
  DeleteProcThreadAttributeList(attributes);
  return started != FALSE;
}

void EndProcess(HANDLE process, HANDLE job) {
  if (job == nullptr || !TerminateJobObject(job, 1)) {
    TerminateProcess(process, 1);
  }
  WaitForSingleObject(process, INFINITE);
}

}  // namespace

std::filesystem::path Win32System::ExecutablePath() {
  return std::filesystem::path(ReadWholeName(
      [](wchar_t* buffer, std::uint32_t size) {
        return static_cast<std::uint32_t>(GetModuleFileNameW(nullptr, buffer, size));
      },
      kLongestPath));
}

std::optional<LocalTime> Win32System::LocalNow() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

ProcessResult Win32System::RunProcess(const std::vector<std::filesystem::path>& argv,
                                      const CancelFlag* cancel) {
  ProcessResult result;
  if (argv.empty() || argv.front().empty()) {
    return result;  // kStartFailed
  }
  PROCESS_INFORMATION info{};
  if (!StartSuspended(argv, info)) {
    return result;
  }
  const Handle process(info.hProcess);
  const Handle thread(info.hThread);
  // Without a job (a parent job that forbids nesting), a cancel still ends
  // the program itself.
  Handle job = MakeKillOnCloseJob();
  if (job && !AssignProcessToJobObject(job.get(), process.get())) {
    job = Handle();
  }
  if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
    EndProcess(process.get(), job.get());
    return result;
  }

  for (;;) {
    const DWORD waited =
        WaitForSingleObject(process.get(), cancel == nullptr ? INFINITE : kCancelPollMilliseconds);
    if (waited == WAIT_OBJECT_0) {
      break;
    }
    if (waited != WAIT_TIMEOUT) {
      EndProcess(process.get(), job.get());
      result.kind = ProcessResult::Kind::kLost;
      return result;
    }
    if (cancel != nullptr && cancel->load()) {
      EndProcess(process.get(), job.get());
      result.kind = ProcessResult::Kind::kCancelled;
      return result;
    }
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) {
    result.kind = ProcessResult::Kind::kLost;
    return result;
  }
  result.kind = ProcessResult::Kind::kExited;
  result.exit_code = static_cast<int>(code);
  return result;
}

std::optional<std::uintmax_t> Win32System::FileSize(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32System::PathExists(const std::filesystem::path& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32System::RemoveFile(const std::filesystem::path& path) {
  return DeleteFileW(path.c_str()) != FALSE;
}

FolderMade Win32System::CreateFolder(const std::filesystem::path& path) {
  if (CreateDirectoryW(path.c_str(), nullptr) != FALSE) {
    return FolderMade::kMade;
  }
  switch (GetLastError()) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return FolderMade::kNameTaken;
    case ERROR_ACCESS_DENIED:
      return FolderMade::kDenied;
    case ERROR_WRITE_PROTECT:
      return FolderMade::kReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FolderMade::kNoSpace;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
      return FolderMade::kNoParent;
    default:
      return FolderMade::kFailed;
  }
}

void Win32System::OpenWithDesktop(const std::filesystem::path& path) {
  // The shell may hand "open" to extensions that need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) {
    CoUninitialize();
  }
}

}  // namespace hoshizora
