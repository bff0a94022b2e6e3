#include "journal/progress_dlg_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <string>

#include "journal/journal_file_win.h"
#include "resources/resource.h"
#include "winkit/handles_win.h"
#include "winkit/placement.h"
#include "winkit/resource_string_win.h"
#include "winkit/window_helpers_win.h"

namespace saltor {
namespace {

// One decimal, with the comma French writes: "1,5".
std::wstring Decimal(double value) {
    wchar_t text[32] = {};
    swprintf(text, std::size(text), L"%.1f", value);
    std::wstring s = text;
    std::replace(s.begin(), s.end(), L'.', L',');
    return s;
}

std::wstring Percent(double value) {
    return value < 0 ? L"–" : std::to_wstring(std::lround(value)) + L"\u00a0%";
}

struct Series {
    int title;
    COLORREF colour;
    double (*value)(const ProgressPoint&);  // negative: no point
};
const Series kSeries[] = {
    {IDS_PROGRESS_CLEAN, RGB(30, 120, 50),
     [](const ProgressPoint& p) { return double(p.cleanTours); }},
    {IDS_PROGRESS_ERRORS, RGB(190, 50, 40),
     [](const ProgressPoint& p) { return p.ErrorsPerGame(); }},
    {IDS_PROGRESS_DRILLS, RGB(40, 80, 180),
     [](const ProgressPoint& p) { return p.DrillSuccess(); }},
};

}  // namespace

INT_PTR CProgressDlg::DoModal(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return CDialogBase::DoModal(GetModuleHandleW(nullptr), IDD_PROGRESS, owner);
}

HWND CProgressDlg::CreateModeless(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return CDialogBase::CreateModeless(GetModuleHandleW(nullptr), IDD_PROGRESS, owner);
}

INT_PTR CProgressDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
        case WM_INITDIALOG:
            OnInitDialog();
            handled = true;
            return TRUE;
        case WM_DRAWITEM:
            if (wParam == IDC_PROGRESS_PLOT) {
                DrawPlot(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                handled = true;
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
                EndDialog(IDCANCEL);
                handled = true;
            }
            return 0;
        default:
            return 0;
    }
}

void CProgressDlg::OnInitDialog() {
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    points_ = ProgressSeries(ReadJournal(JournalFilePath()), LocalToday());
    QueryPerformanceCounter(&end);
    readMs_ = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);

    // An empty journal: the plot's frame shows the sentence, and there is no table.
    const bool empty = points_.empty();
    ShowWindow(GetDlgItem(Hwnd(), IDC_PROGRESS_TABLE), empty ? SW_HIDE : SW_SHOW);
    SetDlgItemTextW(Hwnd(), IDC_PROGRESS_PLOT,
                    empty ? LoadResourceString(IDS_PROGRESS_EMPTY).c_str() : L"");
    FillTable();
    CentreWindow(Hwnd());
}

void CProgressDlg::FillTable() {
    const HWND table = GetDlgItem(Hwnd(), IDC_PROGRESS_TABLE);
    ListView_SetExtendedListViewStyle(table, LVS_EX_FULLROWSELECT);
    RECT r{};
    GetClientRect(table, &r);
    const std::wstring titles = LoadResourceString(IDS_PROGRESS_COLUMNS);
    // Shares of the table's width, in sixtieths, by the length of the titles and cells.
    constexpr int kShares[] = {10, 9, 10, 14, 17};
    const int width = r.right - GetSystemMetrics(SM_CXVSCROLL);
    for (size_t from = 0, column = 0; from <= titles.size(); ++column) {
        const size_t bar = std::min(titles.find(L'|', from), titles.size());
        std::wstring title = titles.substr(from, bar - from);
        from = bar + 1;
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.fmt = column == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        c.cx = width * kShares[std::min<size_t>(column, 4)] / 60;
        c.pszText = title.data();
        ListView_InsertColumn(table, static_cast<int>(column), &c);
    }
    for (size_t i = 0; i < points_.size(); ++i) {
        const ProgressPoint& p = points_[i];
        std::wstring cells[] = {p.label, std::to_wstring(p.games), std::to_wstring(p.cleanTours),
                                p.games == 0 ? L"–" : Decimal(p.ErrorsPerGame()),
                                p.drills == 0 ? L"–"
                                              : Percent(p.DrillSuccess()) + L" (" +
                                                    std::to_wstring(p.drillsRight) + L"/" +
                                                    std::to_wstring(p.drills) + L")"};
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = cells[0].data();
        ListView_InsertItem(table, &item);
        for (int column = 1; column < static_cast<int>(std::size(cells)); ++column) {
            ListView_SetItemText(table, static_cast<int>(i), column, cells[column].data());
        }
    }
}

// Three bands, one a series, over the same columns of points; the lowest carries the labels of
// the days or games. Lengths are designed at 96 dpi and scaled to the window's.
void CProgressDlg::DrawPlot(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    const RECT area = item.rcItem;
    const int dpi = WindowDpi(Hwnd());
    const auto scaled = [dpi](int length) { return ScaleToDpi(length, dpi); };
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
    if (points_.empty()) {
        std::wstring sentence = WindowText(item.hwndItem);
        RECT inside = area;
        InflateRect(&inside, -scaled(20), -scaled(20));
        DrawTextW(dc, sentence.c_str(), static_cast<int>(sentence.size()), &inside,
                  DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int line = metrics.tmHeight;
    const int left = area.left + scaled(36), right = area.right - scaled(10);
    const int bandHeight = (area.bottom - area.top - line - scaled(4)) / 3;
    const int count = static_cast<int>(points_.size());
    const auto columnX = [&](int i) { return left + (2 * i + 1) * (right - left) / (2 * count); };
    const UniquePen axisPen(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));

    for (int s = 0; s < 3; ++s) {
        const Series& series = kSeries[s];
        const int top = area.top + s * bandHeight;
        const int plotTop = top + line + scaled(2), plotBottom = top + bandHeight - scaled(6);
        double high = s == 2 ? 100.0 : 1.0;
        for (const ProgressPoint& p : points_) {
            high = std::max(high, series.value(p));
        }
        high = s == 2 ? 100.0 : std::ceil(high);
        SetTextColor(dc, series.colour);
        const std::wstring title = LoadResourceString(series.title);
        TextOutW(dc, left, top, title.c_str(), static_cast<int>(title.size()));
        SetTextColor(dc, RGB(90, 90, 90));
        const std::wstring highText = s == 1 ? Decimal(high) : std::to_wstring(std::lround(high));
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        TextOutW(dc, left - scaled(4), plotTop - line / 2, highText.c_str(),
                 static_cast<int>(highText.size()));
        TextOutW(dc, left - scaled(4), plotBottom - line / 2, L"0", 1);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        {
            const SelectedObject pen(dc, axisPen.Get());
            MoveToEx(dc, left, plotTop, nullptr);
            LineTo(dc, left, plotBottom);
            LineTo(dc, right, plotBottom);
        }
        const UniquePen linePen(CreatePen(PS_SOLID, scaled(2), series.colour));
        const UniqueBrush dotBrush(CreateSolidBrush(series.colour));
        const SelectedObject pen(dc, linePen.Get());
        bool drawing = false;
        for (int i = 0; i < count; ++i) {
            const double value = series.value(points_[i]);
            if (value < 0) {
                drawing = false;  // no drill that day: the line breaks
                continue;
            }
            const int x = columnX(i);
            const int y =
                plotBottom - static_cast<int>(std::lround(value / high * (plotBottom - plotTop)));
            drawing ? LineTo(dc, x, y) : MoveToEx(dc, x, y, nullptr);
            drawing = true;
            const int dot = scaled(3);
            const RECT mark{x - dot, y - dot, x + dot + 1, y + dot + 1};
            FillRect(dc, &mark, dotBrush.Get());
        }
    }
    // Labels under the lowest band, as many as fit side by side.
    SIZE widest{};
    GetTextExtentPoint32W(dc, L"partie 00 ", 10, &widest);
    const int step =
        std::max(1, count * static_cast<int>(widest.cx) / std::max(1, right - left) + 1);
    SetTextColor(dc, RGB(60, 60, 60));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int i = 0; i < count; i += step) {
        TextOutW(dc, columnX(i), area.top + 3 * bandHeight, points_[i].label.c_str(),
                 static_cast<int>(points_[i].label.size()));
    }
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

}  // namespace saltor
