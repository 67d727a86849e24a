// The shims against Wine's real file, profile and folder calls, in folders whose names
// hold characters no ANSI code page has all of.

#include "framework/platform/windows/Utf8.h"
#include "framework/platform/windows/Utf8Shims.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>

using namespace pfw;

namespace {

const char* const kGerman = "Ger\xC3\xA4t";                  // Gerät
const char* const kChinese = "\xE6\xB8\xAC\xE8\xA9\xA6";     // 測試
const char* const kGuitar = "\xF0\x9F\x8E\xB8";              // a guitar, beyond the BMP

// Removes a tree, long paths included (the shell's own removal stops at MAX_PATH).
void RemoveTree(const std::wstring& path)
{
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE)
  {
    do
    {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

class Utf8ShimsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    mBase = WideToUtf8(temp) + "tarnwick-shims-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(L"\\\\?\\" + Utf8ToWide(mBase.c_str()));
    ASSERT_TRUE(CreateDirectoryUTF8(mBase.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(L"\\\\?\\" + Utf8ToWide(mBase.c_str())); }

  std::string mBase;
};

std::string ReadAll(FILE* file)
{
  std::string text;
  char chunk[256];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
    text.append(chunk, got);
  return text;
}

} // namespace

TEST_F(Utf8ShimsTest, NonAsciiFoldersAndFilesRoundTripUnderTheirRealNames)
{
  const std::string folder = mBase + "\\" + kGerman + " " + kChinese + " " + kGuitar;
  ASSERT_TRUE(CreateDirectoryUTF8(folder.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryUTF8(folder.c_str(), nullptr)); // already there
  struct _stat64 status;
  ASSERT_EQ(0, statUTF8(folder.c_str(), &status));
  EXPECT_TRUE(status.st_mode & _S_IFDIR);

  const std::string path = folder + "\\Kl\xC3\xA4nge.txt";
  FILE* file = fopenUTF8(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  std::fputs("riff", file);
  std::fclose(file);
  // The system sees the name we meant, not its bytes read as ANSI.
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Utf8ToWide(path.c_str()).c_str()));
  file = fopenUTF8(path.c_str(), "rb");
  ASSERT_NE(nullptr, file);
  EXPECT_EQ("riff", ReadAll(file));
  std::fclose(file);
  ASSERT_EQ(0, statUTF8(path.c_str(), &status));
  EXPECT_EQ(4, status.st_size);

  EXPECT_EQ(nullptr, fopenUTF8((folder + "\\missing.txt").c_str(), "rb"));
  EXPECT_EQ(nullptr, fopenUTF8((folder + "\\no " + kGerman + "\\new.txt").c_str(), "wb"));
  EXPECT_EQ(-1, statUTF8((folder + "\\missing.txt").c_str(), &status));
}

TEST_F(Utf8ShimsTest, BytesThatAreNotUtf8ReachTheNarrowCallsUnchanged)
{
  // "\xE4" is "ä" in the ANSI code page Wine runs here, and no UTF-8 at all.
  const std::string path = mBase + "\\Ger\xE4t.txt";
  FILE* file = fopenUTF8(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  std::fclose(file);
  struct _stat64 status;
  EXPECT_EQ(0, statUTF8(path.c_str(), &status));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

TEST_F(Utf8ShimsTest, AMissingNameBeyondAsciiIsNotTakenForTheFileItsBytesNameInAnsi)
{
  // The UTF-8 bytes of "Gerät.txt" read in the ANSI code page name another file, which exists.
  const std::string path = mBase + "\\" + kGerman + ".txt";
  wchar_t misread[MAX_PATH] = {};
  ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, misread, MAX_PATH), 0);
  ASSERT_NE(Utf8ToWide(path.c_str()), misread) << "the ANSI code page reads UTF-8 as meant";
  HANDLE other = CreateFileW(misread, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, other);
  CloseHandle(other);

  EXPECT_EQ(nullptr, fopenUTF8(path.c_str(), "rb"));
  struct _stat64 status;
  EXPECT_EQ(-1, statUTF8(path.c_str(), &status));
}

TEST_F(Utf8ShimsTest, PathsOfThreeHundredCharactersWork)
{
  std::string path = mBase;
  while (path.size() < 300)
  {
    path += std::string("/") + kGerman + "-segment-of-a-long-path";
    ASSERT_TRUE(CreateDirectoryUTF8(path.c_str(), nullptr)) << path.size();
  }
  const std::string file = path + "/take.wav";
  ASSERT_GE(file.size(), 300u);
  FILE* out = fopenUTF8(file.c_str(), "wb");
  ASSERT_NE(nullptr, out);
  std::fputs("long", out);
  std::fclose(out);
  struct _stat64 status;
  ASSERT_EQ(0, statUTF8(file.c_str(), &status));
  EXPECT_EQ(4, status.st_size);
  std::wstring wide = Utf8ToWide(file.c_str());
  ApplyLongPathRule(wide);
  EXPECT_EQ(0u, wide.find(L"\\\\?\\"));
  EXPECT_EQ(std::wstring::npos, wide.find(L'/'));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wide.c_str()));
}

TEST_F(Utf8ShimsTest, ProfileValuesRoundTripWhateverTheFileName)
{
  const std::string folder = mBase + "\\" + kChinese;
  ASSERT_TRUE(CreateDirectoryUTF8(folder.c_str(), nullptr));
  for (const std::string& file : {folder + "\\settings.ini", mBase + "\\settings.ini"})
  {
    SCOPED_TRACE(file);
    const std::string device = std::string("Mikrofon (") + kGerman + ") " + kChinese + " " + kGuitar;
    ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "indev", device.c_str(), file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "buffer", "512", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringUTF8("midi", kGerman, "off", file.c_str()));

    char value[100];
    EXPECT_EQ(device.size(), GetPrivateProfileStringUTF8("audio", "indev", "", value, sizeof(value), file.c_str()));
    EXPECT_EQ(device, value);
    EXPECT_EQ(512u, GetPrivateProfileIntUTF8("audio", "buffer", 44100, file.c_str()));
    EXPECT_EQ(44100u, GetPrivateProfileIntUTF8("audio", "sr", 44100, file.c_str()));
    GetPrivateProfileStringUTF8("midi", kGerman, "", value, sizeof(value), file.c_str());
    EXPECT_STREQ("off", value);
    GetPrivateProfileStringUTF8("audio", "outdev", kChinese, value, sizeof(value), file.c_str());
    EXPECT_STREQ(kChinese, value);

    // A value longer than the buffer is cut before the first character that does not fit.
    // "Mikrofon (Ger" is 13 bytes and the two bytes of its "a" with dots follow.
    char small[15];
    EXPECT_EQ(13u, GetPrivateProfileStringUTF8("audio", "indev", "", small, sizeof(small), file.c_str()));
    EXPECT_STREQ("Mikrofon (Ger", small);
    char fits[16];
    EXPECT_EQ(15u, GetPrivateProfileStringUTF8("audio", "indev", "", fits, sizeof(fits), file.c_str()));
    EXPECT_STREQ("Mikrofon (Ger\xC3\xA4", fits);

    // Rewriting replaces; a null value removes the key.
    ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "indev", kGerman, file.c_str()));
    GetPrivateProfileStringUTF8("audio", "indev", "", value, sizeof(value), file.c_str());
    EXPECT_STREQ(kGerman, value);
    ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "indev", nullptr, file.c_str()));
    GetPrivateProfileStringUTF8("audio", "indev", "Built-in Input", value, sizeof(value), file.c_str());
    EXPECT_STREQ("Built-in Input", value);

    // The file was started as UTF-16, so the system keeps every character.
    FILE* raw = fopenUTF8(file.c_str(), "rb");
    ASSERT_NE(nullptr, raw);
    const std::string bytes = ReadAll(raw);
    std::fclose(raw);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);
  }
}

TEST_F(Utf8ShimsTest, AnEmptyProfileFileStillKeepsEveryCharacter)
{
  // A file cut to nothing (a crash while writing, a full disk) holds nothing to keep.
  const std::string file = mBase + "\\empty.ini";
  FILE* empty = fopenUTF8(file.c_str(), "wb");
  ASSERT_NE(nullptr, empty);
  std::fclose(empty);
  const std::string device = std::string(kChinese) + " " + kGuitar;
  ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "indev", device.c_str(), file.c_str()));
  char value[100];
  GetPrivateProfileStringUTF8("audio", "indev", "", value, sizeof(value), file.c_str());
  EXPECT_EQ(device, value);
}

TEST_F(Utf8ShimsTest, AnAnsiProfileFileTakesNonAsciiValuesAndKeepsWhatItHeld)
{
  // Written by hand or by another program: bytes in the ANSI code page ("\xE4" is "ä").
  const std::string file = mBase + "\\ansi.ini";
  FILE* ansi = fopenUTF8(file.c_str(), "wb");
  ASSERT_NE(nullptr, ansi);
  std::fputs("[audio]\r\nsr=48000\r\noutdev=Ger\xE4t\r\n", ansi);
  std::fclose(ansi);

  // ASCII alone leaves the file in its encoding.
  ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "buffer", "256", file.c_str()));
  FILE* raw = fopenUTF8(file.c_str(), "rb");
  ASSERT_NE(nullptr, raw);
  EXPECT_EQ('[', ReadAll(raw)[0]);
  std::fclose(raw);

  const std::string device = std::string(kChinese) + " " + kGuitar;
  ASSERT_TRUE(WritePrivateProfileStringUTF8("audio", "indev", device.c_str(), file.c_str()));
  char value[100];
  GetPrivateProfileStringUTF8("audio", "indev", "", value, sizeof(value), file.c_str());
  EXPECT_EQ(device, value);
  GetPrivateProfileStringUTF8("audio", "outdev", "", value, sizeof(value), file.c_str());
  EXPECT_STREQ(kGerman, value);
  EXPECT_EQ(48000u, GetPrivateProfileIntUTF8("audio", "sr", 0, file.c_str()));
  EXPECT_EQ(256u, GetPrivateProfileIntUTF8("audio", "buffer", 0, file.c_str()));
}

TEST_F(Utf8ShimsTest, SpecialFolderComesBackAsAUsableUtf8Path)
{
  char path[1024];
  ASSERT_TRUE(SHGetSpecialFolderPathUTF8(nullptr, path, sizeof(path), CSIDL_LOCAL_APPDATA, TRUE));
  EXPECT_GT(std::strlen(path), 3u);
  EXPECT_NE(-1, ClassifyUtf8(path));
  struct _stat64 status;
  ASSERT_EQ(0, statUTF8(path, &status));
  EXPECT_TRUE(status.st_mode & _S_IFDIR);
  char one[1];
  EXPECT_FALSE(SHGetSpecialFolderPathUTF8(nullptr, one, sizeof(one), CSIDL_LOCAL_APPDATA, FALSE));
}

TEST_F(Utf8ShimsTest, TimeFormattingKeepsUtf8AndRefusesWhatDoesNotFit)
{
  struct tm time = {};
  time.tm_year = 126;
  time.tm_mon = 0;
  time.tm_mday = 2;
  time.tm_hour = 3;
  time.tm_min = 4;
  time.tm_sec = 5;
  char text[64];
  EXPECT_EQ(15u, strftimeUTF8(text, sizeof(text), "%Y%m%d_%H%M%S", &time));
  EXPECT_STREQ("20260102_030405", text);
  const std::string format = std::string(kGerman) + " %H:%M " + kChinese;
  const std::string expected = std::string(kGerman) + " 03:04 " + kChinese;
  EXPECT_EQ(expected.size(), strftimeUTF8(text, sizeof(text), format.c_str(), &time));
  EXPECT_EQ(expected, text);
  char small[8];
  EXPECT_EQ(0u, strftimeUTF8(small, sizeof(small), format.c_str(), &time));
  EXPECT_STREQ("", small);
  EXPECT_EQ(0u, strftimeUTF8(text, sizeof(text), "", &time));
}

TEST_F(Utf8ShimsTest, LibrariesLoadByNarrowAndWideNames)
{
  HMODULE kernel = LoadLibraryUTF8("kernel32.dll");
  EXPECT_NE(nullptr, kernel);
  if (kernel)
    FreeLibrary(kernel);
  const std::string missing = mBase + "\\" + kGerman + "\\plugin.dll";
  EXPECT_EQ(nullptr, LoadLibraryUTF8(missing.c_str()));
}
