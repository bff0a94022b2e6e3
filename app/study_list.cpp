#include "app/study_list.h"

#include "files/study_names.h"
#include "files/tour_text.h"
#include "resources/resource.h"

namespace saltor {

namespace {

constexpr wchar_t kStudyNameFallback[] = L"\u00e9tude n\u00b0 %d";
constexpr wchar_t kSaveFailedFallback[] = L"Impossible d'enregistrer dans le fichier :\n%s";
constexpr wchar_t kDeleteFailedFallback[] =
    L"Impossible de supprimer l'\u00e9tude du fichier :\n%s";
constexpr wchar_t kBadNameFallback[] =
    L"Le nom \u00ab %s \u00bb ne peut pas \u00eatre enregistr\u00e9 : il ne doit pas contenir "
    L"\u00ab = \u00bb ni commencer par \u00ab [ \u00bb ou \u00ab ; \u00bb.";

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

void StudyFeedback::Report(HWND owner, const std::wstring& text) {
    const std::wstring caption = LoadResourceString(IDS_MAIN_CAPTION, L"Cavalier Saltor");
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

void StudyList::Fill() {
    for (const std::wstring& name : file_.ReadNames()) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsciiLower(name).c_str()));
    }
}

void StudyList::Load(CChessBoardWnd& board) {
    const std::wstring name = EditText();
    if (name.empty()) {
        return;
    }
    BoardGame& game = board.Game();
    DecodeTour(game.tour, file_.Read(name));
    // A hint shown for the old position would point at a square of no meaning in the new one.
    game.hintSquare = NoSquare;
    if (board.Hwnd() != nullptr) {
        RedrawWindow(board.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void StudyList::Save(const CChessBoardWnd& board) {
    const std::wstring value = EncodeTour(board.Game().tour);
    if (value.empty()) {
        return;  // an empty value would hold no study
    }
    std::wstring name = AsciiLower(TrimStudyName(EditText()));
    if (name.empty()) {
        name = FirstFreeStudyName(LoadResourceString(IDS_STUDY_NAME, kStudyNameFallback), Names());
    }
    if (!IsStorableStudyName(name)) {
        Report(IDS_STUDY_BAD_NAME, kBadNameFallback, name);
        return;
    }
    if (!file_.Write(name, value)) {
        Report(IDS_STUDY_SAVE_FAILED, kSaveFailedFallback, file_.Path());
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
    if (!file_.Remove(name)) {
        Report(IDS_STUDY_DELETE_FAILED, kDeleteFailedFallback, file_.Path());
        return;
    }
    SendMessageW(combo_, CB_DELETESTRING, index, 0);
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

std::wstring StudyList::EditText() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(combo_)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(combo_, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The format's "%s" takes `subject` (the file's path or the name).
void StudyList::Report(UINT formatId, const wchar_t* fallback, const std::wstring& subject) const {
    std::wstring text = LoadResourceString(formatId, fallback);
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) {
        text.replace(at, 2, subject);
    } else {
        text += L"\n" + subject;
    }
    feedback_.Report(GetParent(combo_), text);
}

}  // namespace saltor
