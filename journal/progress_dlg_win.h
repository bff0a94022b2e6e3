#pragma once

#include <windows.h>

#include <vector>

#include "journal/progress_series.h"
#include "winkit/window_base_win.h"

namespace saltor {

// "Progrès": the journal, read once as the window opens, as a plot drawn by the program (three
// bands, one a series) and the same numbers in a table below; a sentence when it is empty.
class CProgressDlg : public CDialogBase {
public:
    INT_PTR DoModal(HWND owner);
    HWND CreateModeless(HWND owner);

    const std::vector<ProgressPoint>& Points() const { return points_; }
    // How long reading and counting the journal took.
    double ReadMs() const { return readMs_; }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnInitDialog();
    void FillTable();
    void DrawPlot(const DRAWITEMSTRUCT& item) const;

    std::vector<ProgressPoint> points_;
    double readMs_ = 0;
};

}  // namespace saltor
