#include "app/study_list_win.h"

#include "files/study_names.h"
#include "files/tour_text.h"
#include "resources/resource.h"
#include "winkit/resource_string_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {

namespace {

std::wstring ItemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

}  // namespace

void StudyList::Fill() {
    for (const std::wstring& name : file_.ReadNames()) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsciiLower(name).c_str()));
    }
}

void StudyList::Load(CChessBoardWnd& board) {
    const std::wstring name = WindowText(combo_);
    if (name.empty()) {
        return;
    }
    BoardGame& game = board.Game();
    game.Abandon();  // the game on the board ends here, for the journal
    DecodeTour(game.tour, file_.Read(name));
    game.tour.challenge = DecodeChallenge(
        GameFile(file_.Path(), kChallengeSection).Read(name));  // none kept: an open tour
    // A hint shown for the old position would point at a square of no meaning in the new one.
    game.hintSquare = NoSquare;
    game.BeginGame();  // a study loaded is a game of its own, in the modes chosen
    board.Refresh();
}

void StudyList::Save(const CChessBoardWnd& board) {
    const std::wstring value = EncodeTour(board.Game().tour);
    if (value.empty()) {
        return;  // an empty value would hold no study
    }
    std::wstring name = AsciiLower(TrimStudyName(WindowText(combo_)));
    if (name.empty()) {
        name = FirstFreeStudyName(LoadResourceString(IDS_STUDY_NAME), Names());
    }
    if (!IsStorableStudyName(name)) {
        Report(IDS_STUDY_BAD_NAME, name);
        return;
    }
    const std::wstring challenge = EncodeChallenge(board.Game().tour.challenge);
    if (!file_.Write(name, value) || !KeepChallenge(name, challenge)) {
        Report(IDS_STUDY_SAVE_FAILED, file_.Path());
        return;
    }
    if (FindExact(name) == CB_ERR) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
}

void StudyList::Delete(int index) {
    if (index < 0) {
        return;
    }
    const std::wstring name = ItemText(combo_, index);
    if (!file_.Remove(name) || !KeepChallenge(name, L"")) {
        Report(IDS_STUDY_DELETE_FAILED, file_.Path());
        return;
    }
    SendMessageW(combo_, CB_DELETESTRING, index, 0);
}

// Writes a study's challenge, or removes it for an open tour; a file of studies saved without
// challenges is only read once more.
bool StudyList::KeepChallenge(const std::wstring& name, const std::wstring& challenge) const {
    const GameFile challenges(file_.Path(), kChallengeSection);
    if (!challenge.empty()) {
        return challenges.Write(name, challenge);
    }
    return challenges.Read(name).empty() || challenges.Remove(name);
}

std::vector<std::wstring> StudyList::Names() const {
    std::vector<std::wstring> names;
    const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        names.push_back(ItemText(combo_, i));
    }
    return names;
}

int StudyList::FindExact(const std::wstring& name) const {
    const std::vector<std::wstring> names = Names();
    for (size_t i = 0; i < names.size(); ++i) {
        if (SameStudyName(names[i], name)) {
            return static_cast<int>(i);
        }
    }
    return CB_ERR;
}

// The format's "%s" takes `subject` (the file's path or the name).
void StudyList::Report(UINT formatId, const std::wstring& subject) const {
    desktop_.ShowMessage(GetParent(combo_), FormatResourceString(formatId, subject),
                         LoadResourceString(IDS_MAIN_CAPTION), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace saltor
