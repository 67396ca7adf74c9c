// File operations on real files: exact bytes, failures with the system's reason, long and
// non-ASCII paths; the program's directory; the lock between starts on one log.
#include "platform/win32/win32_files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "case_name.h"
#include "platform/win32/text_convert.h"
#include "win32/temp_directory.h"

using namespace std::string_literals;

namespace kestrevane::win32 {
namespace {

using testing::TempDirectory;

constexpr std::size_t anySize = static_cast<std::size_t>(-1);

// The wide path with the extended-length prefix, for set-up calls on long paths.
std::wstring extendedPath(const std::string& path) { return L"\\\\?\\" + widen(path); }

// Creates every missing directory of a UTF-8 path, long or not; throws on failure.
void makeDirectories(const std::string& path)
{
    std::size_t next = path.find('\\', 3); // past "C:\"
    for (;;) {
        const std::string part = path.substr(0, next);
        if (!CreateDirectoryW(extendedPath(part).c_str(), nullptr)) {
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS)
                throw std::runtime_error("test set-up: cannot make " + part + " (error " + std::to_string(error) + ")");
        }
        if (next == std::string::npos) return;
        next = path.find('\\', next + 1);
    }
}

std::string whole(Win32Files& files, const std::string& path)
{
    const startup::FileTail tail = files.readTail(path, anySize);
    EXPECT_TRUE(tail.wholeFile());
    return tail.bytes;
}

// Directories whose names test the path handling; every file operation runs in each.
struct PlaceRow {
    std::string name;
    std::string subdirectory; // below the fresh temp directory, "" for the directory itself
};

class FilesIn : public ::testing::TestWithParam<PlaceRow> {
protected:
    void SetUp() override
    {
        dir_ = narrow(temp_.path());
        if (!GetParam().subdirectory.empty()) {
            dir_ += "\\" + GetParam().subdirectory;
            makeDirectories(dir_);
        }
        log_ = dir_ + "\\kestrevane.kvn";
    }

    TempDirectory temp_;
    std::string dir_;
    std::string log_;
    Win32Files files_;
};

TEST_P(FilesIn, AppendCreatesThenAddsExactBytes)
{
    const std::string first = "\"12/6/2026\",\"07:41:09\",\"1\"\r\n";
    const std::string second = "Zo\xEB\0\xFF\r\n"s; // arbitrary bytes, NUL included
    EXPECT_FALSE(files_.canOpenForReading(log_));
    files_.append(log_, first);
    files_.flush(log_);
    EXPECT_TRUE(files_.canOpenForReading(log_));
    EXPECT_EQ(whole(files_, log_), first);
    files_.append(log_, second);
    files_.append(log_, "");
    EXPECT_EQ(whole(files_, log_), first + second);
}

TEST_P(FilesIn, ReadsLargeFilesWhole)
{
    std::string bytes;
    for (int i = 0; bytes.size() < 300000; ++i) bytes += "\"06.12.2026\",\"07:41:09\",\"" + std::to_string(i) + "\"\r\n";
    files_.append(log_, bytes);
    EXPECT_EQ(whole(files_, log_), bytes);
}

TEST_P(FilesIn, ReadsOnlyTheTailAskedFor)
{
    std::string bytes;
    for (int i = 0; bytes.size() < 5000; ++i) bytes += static_cast<char>('a' + i % 26);
    files_.append(log_, bytes);
    for (const std::size_t asked : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, bytes.size() - 1, bytes.size(),
                                    bytes.size() + 1}) {
        SCOPED_TRACE(asked);
        const startup::FileTail tail = files_.readTail(log_, asked);
        const std::size_t expected = std::min(asked, bytes.size());
        EXPECT_EQ(tail.offset, bytes.size() - expected);
        EXPECT_EQ(tail.bytes, bytes.substr(bytes.size() - expected));
    }
}

TEST_P(FilesIn, RemoveDeletesTheFile)
{
    files_.append(log_, "x");
    files_.remove(log_);
    EXPECT_FALSE(files_.canOpenForReading(log_));
    EXPECT_THROW(files_.readTail(log_, anySize), startup::FileError);
}

TEST_P(FilesIn, EmptyFileReadsEmpty)
{
    files_.append(log_, "");
    EXPECT_TRUE(files_.canOpenForReading(log_));
    EXPECT_EQ(whole(files_, log_), "");
}

TEST_P(FilesIn, DirectoryIsNotAReadableFile)
{
    EXPECT_FALSE(files_.canOpenForReading(dir_));
}

std::string longName()
{
    std::string name;
    for (int i = 0; i < 3; ++i) name += (i ? "\\" : "") + std::string(100, static_cast<char>('a' + i));
    return name;
}

INSTANTIATE_TEST_SUITE_P(Places, FilesIn, ::testing::Values(
    PlaceRow{"TempDirectory", ""},
    PlaceRow{"NonAsciiName", "Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC"},
    PlaceRow{"PathLongerThanMaxPath", longName()},
    PlaceRow{"LongAndNonAscii", longName() + "\\Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC"}
), kestrevane::testing::CaseName{});

TEST(Win32Files, LongPathWithForwardSlashesAndDots)
{
    TempDirectory temp;
    const std::string dir = narrow(temp.path()) + "\\" + longName();
    makeDirectories(dir);
    std::string sloppy = narrow(temp.path()) + "/" + longName() + "/./kestrevane.kvn";
    ASSERT_GE(sloppy.size(), static_cast<std::size_t>(MAX_PATH));
    Win32Files files;
    files.append(sloppy, "abc");
    EXPECT_TRUE(files.canOpenForReading(dir + "\\kestrevane.kvn"));
    EXPECT_EQ(whole(files, sloppy), "abc");
    files.remove(sloppy);
    EXPECT_FALSE(files.canOpenForReading(dir + "\\kestrevane.kvn"));
}

// A log of several GiB (a sparse file, as a damaged disk or a prank may leave) is read
// at its end: offsets past 4 GiB must not wrap.
TEST(Win32Files, TailOfAFileLargerThanFourGigabytes)
{
    TempDirectory temp;
    const std::string path = narrow(temp.path()) + "\\kestrevane.kvn";
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    size.QuadPart = (5LL << 30) + 3;
    const bool made = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(made) << "could not make a 5 GiB file: error " << GetLastError();
    Win32Files files;
    files.append(path, "end\r\n");

    const startup::FileTail tail = files.readTail(path, 8);
    EXPECT_EQ(tail.offset, static_cast<std::uint64_t>(size.QuadPart) + 5 - 8);
    EXPECT_EQ(tail.bytes, std::string("\0\0\0end\r\n", 8));
    files.remove(path);
}

TEST(Win32Files, MissingFileCannotBeOpened)
{
    TempDirectory temp;
    Win32Files files;
    EXPECT_FALSE(files.canOpenForReading(narrow(temp.path()) + "\\missing.kvn"));
    EXPECT_FALSE(files.canOpenForReading(narrow(temp.path()) + "\\no such dir\\missing.kvn"));
    EXPECT_FALSE(files.canOpenForReading(""));
}

struct FailureRow {
    std::string name;
    std::string operation; // as FileError reports it
    // Prepares the situation in `dir` and returns the path the operation is given.
    std::function<std::string(const std::string& dir)> prepare;
    std::function<void(Win32Files&, const std::string& path)> act;
};

// Handles that keep a file locked while the operation runs; closed after each case.
std::vector<HANDLE> heldLocks;

class FileFailures : public ::testing::TestWithParam<FailureRow> {
protected:
    void TearDown() override
    {
        for (HANDLE lock : heldLocks) CloseHandle(lock);
        heldLocks.clear();
    }

    // A member: removed after TearDown has let go of its locked files, so none is left.
    TempDirectory temp_;
};

TEST_P(FileFailures, ThrowFileErrorWithTheSystemsReason)
{
    Win32Files files;
    const std::string path = GetParam().prepare(narrow(temp_.path()));
    try {
        GetParam().act(files, path);
        FAIL() << "no FileError for " << path;
    } catch (const startup::FileError& error) {
        EXPECT_EQ(error.operation(), GetParam().operation);
        EXPECT_EQ(error.path(), path);
        EXPECT_FALSE(error.reason().empty());
        EXPECT_EQ(error.reason().find_first_of("\r\n"), std::string::npos) << error.reason();
        EXPECT_NE(error.reason().back(), '.') << error.reason();
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
    }
}

std::string readOnlyFile(const std::string& dir)
{
    const std::string path = dir + "\\kestrevane.kvn";
    Win32Files().append(path, "\"1\"\r\n");
    if (!SetFileAttributesW(extendedPath(path).c_str(), FILE_ATTRIBUTE_READONLY))
        throw std::runtime_error("test set-up: cannot make " + path + " read-only");
    return path;
}

// Opened elsewhere with no sharing, as another program holding the log would.
std::string lockedFile(const std::string& dir)
{
    const std::string path = dir + "\\kestrevane.kvn";
    Win32Files().append(path, "\"1\"\r\n");
    HANDLE lock = CreateFileW(extendedPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE) throw std::runtime_error("test set-up: cannot lock " + path);
    heldLocks.push_back(lock);
    return path;
}

std::string subdirectory(const std::string& dir)
{
    const std::string path = dir + "\\kestrevane.kvn";
    makeDirectories(path);
    return path;
}

void appendRecord(Win32Files& files, const std::string& path) { files.append(path, "\"12/6/2026\",\"07:41:09\",\"1\"\r\n"); }
void removeFile(Win32Files& files, const std::string& path) { files.remove(path); }
void readWhole(Win32Files& files, const std::string& path) { files.readTail(path, anySize); }
void flushFile(Win32Files& files, const std::string& path) { files.flush(path); }

INSTANTIATE_TEST_SUITE_P(Cases, FileFailures, ::testing::Values(
    FailureRow{"AppendToLockedFile", "open", lockedFile, appendRecord},
    FailureRow{"ReadLockedFile", "open", lockedFile, readWhole},
    FailureRow{"AppendToDirectory", "open", subdirectory, appendRecord},
    FailureRow{"AppendIntoMissingDirectory", "open",
               [](const std::string& dir) { return dir + "\\missing\\kestrevane.kvn"; }, appendRecord},
    FailureRow{"RemoveMissingFile", "delete", [](const std::string& dir) { return dir + "\\kestrevane.kvn"; }, removeFile},
    FailureRow{"RemoveReadOnlyFile", "delete", readOnlyFile, removeFile},
    FailureRow{"ReadMissingFile", "open", [](const std::string& dir) { return dir + "\\kestrevane.kvn"; }, readWhole},
    FailureRow{"FlushMissingFile", "flush", [](const std::string& dir) { return dir + "\\kestrevane.kvn"; }, flushFile}
), kestrevane::testing::CaseName{});

TEST(Win32Files, ReadOnlyFileStaysReadable)
{
    TempDirectory temp;
    Win32Files files;
    const std::string path = readOnlyFile(narrow(temp.path()));
    EXPECT_TRUE(files.canOpenForReading(path));
    EXPECT_EQ(whole(files, path), "\"1\"\r\n");
}

TEST(SystemErrorText, IsTheSystemsTrimmedMessage)
{
    for (DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND}) {
        const std::string text = systemErrorText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_NE(text.back(), '.') << text;
        EXPECT_NE(text.back(), ' ') << text;
        EXPECT_NE(text.find(' '), std::string::npos) << "words, not a number: " << text;
    }
    EXPECT_NE(systemErrorText(ERROR_FILE_NOT_FOUND), systemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(systemErrorText(0xE0001234), "system error 3758101044");
}


// The C run-time's argv[0], made absolute: a source apart from the module handle.
std::wstring programPathFromArguments()
{
    const std::wstring argument = widen(ansiToUtf8(__argv[0]));
    wchar_t full[32768];
    const DWORD n = GetFullPathNameW(argument.c_str(), 32768, full, nullptr);
    if (n == 0 || n >= 32768) throw std::runtime_error("test set-up: cannot make argv[0] absolute");
    return std::wstring(full, n);
}

TEST(ExecutableDirectory, IsTheDirectoryOfTheRunningProgram)
{
    const std::string dir = executableDirectory();
    ASSERT_GT(dir.size(), 2u);
    EXPECT_NE(dir.back(), '\\');
    EXPECT_NE(dir.back(), '/');

    std::wstring program = programPathFromArguments();
    const std::wstring expected = program.substr(0, program.find_last_of(L"\\/"));
    EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, widen(dir).c_str(), -1, expected.c_str(), -1),
              CSTR_EQUAL)
        << dir << " vs " << narrow(expected);

    // The log path is built as directory & "\" & name: that must name the program itself.
    const std::wstring name = program.substr(program.find_last_of(L"\\/") + 1);
    EXPECT_TRUE(Win32Files().canOpenForReading(dir + "\\" + narrow(name)));
}

TEST(LogLockName, OneNamePerLog)
{
    const std::wstring name = logLockName("C:\\Tools\\Kv\\kestrevane.kvn");
    EXPECT_EQ(name.find(L'\\'), std::wstring::npos) << "a backslash would name a namespace";
    const char* sameLog[] = {"c:\\tools\\kv\\KESTREVANE.KVN", "C:\\Tools\\Kv\\.\\kestrevane.kvn",
                             "C:\\Tools\\x\\..\\Kv\\kestrevane.kvn", "C:/Tools/Kv/kestrevane.kvn"};
    for (const char* path : sameLog) EXPECT_EQ(logLockName(path), name) << path;
    const char* otherLogs[] = {"C:\\Tools\\Kv2\\kestrevane.kvn", "D:\\Tools\\Kv\\kestrevane.kvn",
                               "C:\\Tools\\kestrevane.kvn"};
    for (const char* path : otherLogs) EXPECT_NE(logLockName(path), name) << path;
}

TEST(LogLockName, ShortSpellingOfTheFolderNamesTheSameLog)
{
    testing::TempDirectory temp;
    const std::wstring folder = temp.file(L"Kestrevane long folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "no short name: error " << GetLastError();
    if (std::wstring(shortName, n) == folder) GTEST_SKIP() << "the file system here makes no 8.3 names";
    const std::string log = "\\kestrevane.kvn";
    EXPECT_EQ(logLockName(narrow(std::wstring(shortName, n)) + log), logLockName(narrow(folder) + log));
}

TEST(Win32LogLock, SecondHolderWaitsForTheFirst)
{
    const std::string log = "C:\\kestrevane-lock-test\\kestrevane.kvn";
    Win32LogLock first;
    first.acquire(log);
    std::atomic<bool> secondHolds{false};
    std::thread other([&] {
        Win32LogLock second;
        second.acquire(log);
        secondHolds = true;
        second.release();
    });
    Sleep(300);
    EXPECT_FALSE(secondHolds) << "two starts held the log's lock at once";
    first.release();
    other.join();
    EXPECT_TRUE(secondHolds);
}

} // namespace
} // namespace kestrevane::win32
