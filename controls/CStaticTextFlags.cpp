#include "controls/CStaticTextFlags.h"

platform::DWORD CStaticTextFlags::FromStyle(platform::DWORD style) {
    const platform::DWORD type = style & SS_TYPEMASK;
    platform::DWORD flags = DT_LEFT;
    if (type == SS_RIGHT) {
        flags |= DT_RIGHT;
    } else if (type == SS_CENTER) {
        flags |= DT_CENTER;
    }
    if (style & SS_CENTERIMAGE) {
        flags |= DT_VCENTER | DT_SINGLELINE;
    }
    if (style & SS_NOPREFIX) {
        flags |= DT_NOPREFIX;
    }
    if (style & SS_ELLIPSISMASK) {
        flags |= DT_WORD_ELLIPSIS;
    }
    if (style & SS_ENDELLIPSIS) {
        flags |= DT_END_ELLIPSIS;
    }
    if (style & SS_PATHELLIPSIS) {
        flags |= DT_PATH_ELLIPSIS;
    }
    if (!(style & SS_ELLIPSISMASK) && !(style & SS_CENTERIMAGE) && type != SS_LEFTNOWORDWRAP) {
        flags |= DT_WORDBREAK;
    }
    return flags;
}
