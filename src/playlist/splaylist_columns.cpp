// The playlist window's columns fitted to their contents.
#include "playlist/splaylist.h"
// after <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "playlist/column_fit.h"
#include "win/handles.h"

// The list view fits a column by measuring the text of every row, each on a
// drawing context of its own. A hidden list of one row holding the widest
// texts measures them the same way, and its widths are taken over.
void Tsuperplaylist::fit_columns() {
    std::array<int, 8> rows;
    bool probe_fits = model_.count() > 0;
    for (int c = 2; c <= 7; ++c) {
        rows[size_t(c)] = column_shown_[c - 2] ? widest_row(c) : -1;
        if (rows[size_t(c)] == kMeasureAll) probe_fits = false;
    }
    HWND probe = probe_fits ? CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 100,
                                              100, hwnd_, nullptr, instance_, nullptr)
                            : nullptr;
    if (probe) {
        SendMessageA(probe, WM_SETFONT, SendMessageA(list_, WM_GETFONT, 0, 0), FALSE);
        SendMessageA(probe, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x120);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<char*>("");
        for (int c = 0; c < 8; ++c) {
            LVCOLUMNA col{};
            col.mask = LVCF_WIDTH | LVCF_SUBITEM;
            col.iSubItem = c;
            SendMessageA(probe, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                         reinterpret_cast<LPARAM>(&col));
        }
        SendMessageA(probe, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    for (int c = 2; c <= 7; ++c) {
        if (!column_shown_[c - 2]) {
            ListView_SetColumnWidth(list_, c, 0);
        } else if (!probe) {
            ListView_SetColumnWidth(list_, c, LVSCW_AUTOSIZE);
        } else {
            const int r = rows[size_t(c)];
            std::string text = r < 0 ? std::string() : row_cell(model_.rows()[size_t(r)], c);
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = text.data();
            SendMessageA(probe, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
            ListView_SetColumnWidth(probe, c, LVSCW_AUTOSIZE);
            ListView_SetColumnWidth(list_, c, ListView_GetColumnWidth(probe, c));
        }
    }
    if (probe) DestroyWindow(probe);
}

// The row with the widest text of the column in the list's font, -1 when no
// row has text there, or kMeasureAll when the list must measure every row.
int Tsuperplaylist::widest_row(int column) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0));
    CPINFO cp{};
    // Characters of several bytes have no advance of their own.
    if (!font || !GetCPInfo(CP_ACP, &cp) || cp.MaxCharSize != 1) return kMeasureAll;
    win::WindowDC dc(list_);
    win::Selected selected(dc, font);
    INT widths[256];
    if (!GetCharWidth32A(dc, 0, 255, widths)) return kMeasureAll;
    std::array<int, 256> advance{};
    int widest_char = 0;
    for (size_t i = 0; i < advance.size(); ++i) {
        advance[i] = widths[i];
        widest_char = std::max(widest_char, advance[i]);
    }
    int best = -1;
    LONG best_width = -1;
    // Overhangs and kerning are not in the sum: a margin keeps the true widest.
    for (int r : widest_row_candidates(model_.rows(), column, advance, 2 * widest_char)) {
        const std::string& t = row_cell(model_.rows()[static_cast<size_t>(r)], column);
        SIZE size{};
        GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &size);
        if (size.cx > best_width) {
            best_width = size.cx;
            best = r;
        }
    }
    return best;
}
