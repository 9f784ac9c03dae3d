#include "win/region.h"

#include <algorithm>
#include <cstring>

namespace win {

Region region_from_rects(const std::vector<SkinRect>& rects) {
    if (rects.empty()) return Region(CreateRectRgn(0, 0, 0, 0));
    const DWORD count = static_cast<DWORD>(rects.size());
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = count;
    header.nRgnSize = count * sizeof(RECT);
    header.rcBound = {rects[0].left, rects[0].top, rects[0].right, rects[0].bottom};
    std::vector<RECT> out(count);
    for (DWORD i = 0; i < count; ++i) {
        const SkinRect& r = rects[i];
        out[i] = {r.left, r.top, r.right, r.bottom};
        header.rcBound.left = std::min<LONG>(header.rcBound.left, r.left);
        header.rcBound.top = std::min<LONG>(header.rcBound.top, r.top);
        header.rcBound.right = std::max<LONG>(header.rcBound.right, r.right);
        header.rcBound.bottom = std::max<LONG>(header.rcBound.bottom, r.bottom);
    }
    std::memcpy(buffer.data(), &header, sizeof header);
    std::memcpy(buffer.data() + sizeof header, out.data(), count * sizeof(RECT));
    return Region(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                  reinterpret_cast<const RGNDATA*>(buffer.data())));
}

}  // namespace win
