#pragma once

#include <string>
#include <utility>
#include <vector>

namespace saltor {

// The game file: named tours in the section "Saltor" of an initialisation file (or the values
// of another section of it), read and written
// through the profile-string functions. Writes are checked, so a study is never reported saved
// (or deleted) when the file does not hold it so.
class GameFile {
public:
    explicit GameFile(std::wstring path, std::wstring section = L"Saltor")
        : path_(std::move(path)), section_(std::move(section)) {}

    const std::wstring& Path() const { return path_; }

    // Every entry name of the section, in file order; none when the file or section is missing.
    std::vector<std::wstring> ReadNames() const;
    // The value of the entry, cut to 255 characters; empty when it is missing.
    std::wstring Read(const std::wstring& name) const;
    // Creates or replaces the entry. False when the file does not hold the value afterwards.
    bool Write(const std::wstring& name, const std::wstring& value) const;
    // Removes one entry of that name. False when the file still holds as many as before.
    bool Remove(const std::wstring& name) const;

private:
    void CreateUnicodeFile() const;
    bool IsUnicodeFile() const;
    static bool SurvivesAnsi(const std::wstring& text);
    void ForgetCachedCopy() const;

    std::wstring path_;
    std::wstring section_;
};

// The section of the same file that keeps each study's challenge, under the study's name, so
// that the studies' own section stays as every reader of the game file knows it.
inline constexpr wchar_t kChallengeSection[] = L"Saltor.defis";

}  // namespace saltor
