// gdi32.cpp: bitmaps, fonts, device contexts, drawing calls and painting of the stand-in.
#include "headless_internal.h"

using namespace headless;
using namespace headless::detail;

namespace headless {
namespace detail {

gdi_object* find_object(const void* handle)
{
    auto it = st().object_index.find(reinterpret_cast<uintptr_t>(handle));
    if (it == st().object_index.end())
        return nullptr;
    return &st().objects[it->second];
}

gdi_object& add_object(void* handle, object_kind kind)
{
    gdi_object o = {};
    o.handle = handle;
    o.kind = kind;
    o.alive = 1;
    o.created_in_paint = st().current_paint;
    st().object_index[reinterpret_cast<uintptr_t>(handle)] = st().objects.size();
    st().objects.push_back(o);
    return st().objects.back();
}

// Stock objects are system-wide constants: the same handle on every call, even across reset().
HGDIOBJ stock_object(int index)
{
    static std::map<int, void*> handles;
    void*& h = handles[index];
    if (!h)
        h = new_handle();
    if (!find_object(h)) {
        object_kind kind = object_kind::brush;
        if (index == -1)
            kind = object_kind::bitmap;  // the 1 x 1 monochrome bitmap of a new memory DC
        else if (index >= OEM_FIXED_FONT && index != DEFAULT_PALETTE)
            kind = object_kind::font;
        gdi_object& o = add_object(h, kind);
        o.stock = 1;
        o.created_in_paint = 0;
        if (index == -1) {
            o.width = 1;
            o.height = 1;
        }
    }
    return h;
}

}  // namespace detail
}  // namespace headless

namespace {

const int LOG_LIMIT = 200000;

gdi_object* live_dc(HDC hdc, const char* call)
{
    gdi_object* o = find_object(hdc);
    if (!o || (o->kind != object_kind::memory_dc && o->kind != object_kind::paint_dc) || !o->alive) {
        misuse(std::string(call) + " on " + hex(hdc) + ", which is not a live device context");
        return nullptr;
    }
    return o;
}

HDC new_dc(object_kind kind)
{
    HGDIOBJ default_bitmap = kind == object_kind::memory_dc ? stock_object(-1) : NULL;
    HGDIOBJ default_font = stock_object(SYSTEM_FONT);
    void* h = new_handle();
    st().live_dcs.push_back(st().objects.size());
    gdi_object& dc = add_object(h, kind);
    dc.selected_bitmap = static_cast<HBITMAP>(default_bitmap);
    dc.selected_font = static_cast<HFONT>(default_font);
    dc.text_align = TA_TOP | TA_LEFT;
    return static_cast<HDC>(h);
}

// The live DC that has handle selected, other than except.
const gdi_object* holder_of(const void* handle, const void* except)
{
    for (size_t at : st().live_dcs) {
        const gdi_object& o = st().objects[at];
        if (o.handle == except)
            continue;
        if (o.selected_bitmap == handle || o.selected_font == handle)
            return &o;
    }
    return nullptr;
}

void release_dc(gdi_object& dc)
{
    dc.alive = 0;
    std::vector<size_t>& live = st().live_dcs;
    for (size_t i = 0; i < live.size(); ++i)
        if (&st().objects[live[i]] == &dc) {
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
}

void log_op(const draw_op& op)
{
    state& s = st();
    if (static_cast<int>(s.draw_log.size()) >= LOG_LIMIT)
        s.draw_log.erase(s.draw_log.begin(), s.draw_log.begin() + LOG_LIMIT / 2);
    s.draw_log.push_back(op);
    if (op.paint)
        s.last_paint.push_back(op);
}

draw_op op_for(draw_kind kind, const gdi_object& dest)
{
    draw_op op = {};
    op.kind = kind;
    op.dest = static_cast<HDC>(dest.handle);
    op.font = dest.selected_font;
    const gdi_object* font = find_object(dest.selected_font);
    if (font && !font->stock)
        op.logfont = font->logfont;
    op.align = dest.text_align;
    op.paint = dest.kind == object_kind::paint_dc ? st().current_paint : 0;
    return op;
}

BOOL blit(draw_kind kind, HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
          DWORD rop, const char* call)
{
    gdi_object* dest = live_dc(hdcDest, call);
    gdi_object* src = live_dc(hdcSrc, call);
    if (!dest || !src)
        return FALSE;
    draw_op op = op_for(kind, *dest);
    op.x = x;
    op.y = y;
    op.width = w;
    op.height = h;
    op.source = src->selected_bitmap;
    const gdi_object* bitmap = find_object(src->selected_bitmap);
    op.source_resource = bitmap ? bitmap->resource : 0;
    op.src_x = sx;
    op.src_y = sy;
    op.src_width = sw;
    op.src_height = sh;
    op.rop = rop;
    log_op(op);
    return TRUE;
}

}  // namespace

extern "C" {

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName)
{
    if (!hInstance || !IS_INTRESOURCE(lpBitmapName))
        return NULL;
    int id = LOWORD(lpBitmapName);
    if (id < 1 || id > 16)
        return NULL;
    void* h = new_handle();
    gdi_object& o = add_object(h, object_kind::bitmap);
    o.resource = id;
    o.width = id <= 8 ? 16 : 32;
    o.height = o.width;
    return static_cast<HBITMAP>(h);
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    window_rec* w = find_window(hWnd);
    if (!w || !lpPaint)
        return NULL;
    if (st().current_paint)
        misuse("BeginPaint on " + hex(hWnd) + " inside another paint");
    st().paints += 1;
    st().current_paint = st().paints;
    st().last_paint.clear();
    HDC hdc = new_dc(object_kind::paint_dc);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = hdc;
    lpPaint->fErase = FALSE;  // the class brush has already erased the background
    lpPaint->rcPaint = client_rect(*w);
    w->info.invalid = 0;
    w->in_paint = 1;
    return hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    window_rec* w = find_window(hWnd);
    if (!w || !lpPaint)
        return FALSE;
    gdi_object* dc = find_object(lpPaint->hdc);
    if (!dc || dc->kind != object_kind::paint_dc || !dc->alive || !w->in_paint) {
        misuse("EndPaint on " + hex(hWnd) + " without its BeginPaint");
        return FALSE;
    }
    release_dc(*dc);
    w->in_paint = 0;
    st().current_paint = 0;
    return TRUE;
}

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc && !live_dc(hdc, "CreateCompatibleDC"))
        return NULL;
    return new_dc(object_kind::memory_dc);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    gdi_object* dc = live_dc(hdc, "SelectObject");
    if (!dc)
        return NULL;
    const size_t dc_at = static_cast<size_t>(dc - st().objects.data());
    gdi_object* o = find_object(h);
    if (!o || !o->alive) {
        misuse("SelectObject of " + hex(h) + ", which is unknown or deleted");
        return NULL;
    }
    switch (o->kind) {
    case object_kind::bitmap: {
        if (dc->kind != object_kind::memory_dc) {
            misuse("SelectObject of bitmap " + hex(h) + " into a window DC");
            return NULL;
        }
        if (!o->stock && holder_of(h, hdc)) {
            misuse("SelectObject of bitmap " + hex(h) + ", which is selected into another DC");
            return NULL;
        }
        HGDIOBJ previous = st().objects[dc_at].selected_bitmap;
        st().objects[dc_at].selected_bitmap = static_cast<HBITMAP>(h);
        return previous;
    }
    case object_kind::font: {
        HGDIOBJ previous = st().objects[dc_at].selected_font;
        st().objects[dc_at].selected_font = static_cast<HFONT>(h);
        return previous;
    }
    case object_kind::brush:
        return stock_object(WHITE_BRUSH);
    default:
        misuse("SelectObject of " + hex(h) + ", which cannot be selected into a DC");
        return NULL;
    }
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return blit(draw_kind::bit_blt, hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop, "BitBlt");
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    return blit(draw_kind::stretch_blt, hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop,
                "StretchBlt");
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf)
{
    if (!lplf)
        return NULL;
    void* h = new_handle();
    add_object(h, object_kind::font).logfont = *lplf;
    return static_cast<HFONT>(h);
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    gdi_object* dc = live_dc(hdc, "SetTextAlign");
    if (!dc)
        return GDI_ERROR;
    UINT previous = dc->text_align;
    dc->text_align = align;
    return previous;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    gdi_object* dc = live_dc(hdc, "TextOutA");
    if (!dc)
        return FALSE;
    if (c < 0 || (c > 0 && !lpString)) {
        misuse("TextOutA with a bad string or length");
        return FALSE;
    }
    draw_op op = op_for(draw_kind::text_out, *dc);
    op.x = x;
    op.y = y;
    op.text.assign(lpString ? lpString : "", static_cast<size_t>(c));
    log_op(op);
    return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv)
{
    gdi_object* o = find_object(h);
    if (!o || !o->alive)
        return 0;
    if (o->kind == object_kind::bitmap) {
        if (!pv)
            return static_cast<int>(sizeof(BITMAP));
        if (c < static_cast<int>(sizeof(BITMAP)))
            return 0;
        BITMAP bm = {};
        bm.bmType = 0;
        bm.bmWidth = o->width;
        bm.bmHeight = o->height;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(o->stock ? 1 : 8);
        bm.bmWidthBytes = ((o->width * bm.bmBitsPixel + 15) / 16) * 2;
        bm.bmBits = NULL;
        memcpy(pv, &bm, sizeof bm);
        return static_cast<int>(sizeof(BITMAP));
    }
    if (o->kind == object_kind::font && !o->stock) {
        if (!pv)
            return static_cast<int>(sizeof(LOGFONTA));
        if (c < static_cast<int>(sizeof(LOGFONTA)))
            return 0;
        memcpy(pv, &o->logfont, sizeof(LOGFONTA));
        return static_cast<int>(sizeof(LOGFONTA));
    }
    return 0;
}

HGDIOBJ WINAPI GetStockObject(int i)
{
    if (i < 0 || i > DEFAULT_GUI_FONT || i == 9)
        return NULL;
    return stock_object(i);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    gdi_object* o = find_object(ho);
    object_kind kind = o ? o->kind : object_kind::unknown;
    BOOL result = FALSE;
    if (!o) {
        misuse("DeleteObject of " + hex(ho) + ", which is unknown");
    } else {
        o->deletes += 1;
        if (kind == object_kind::cursor || kind == object_kind::icon) {
            result = FALSE;  // not a GDI object: refused, and harmless
        } else if (kind == object_kind::memory_dc || kind == object_kind::paint_dc) {
            misuse("DeleteObject of DC " + hex(ho) + "; a DC is released with DeleteDC or EndPaint");
        } else if (o->stock) {
            result = TRUE;  // stock objects ignore deletion
        } else if (!o->alive) {
            misuse("DeleteObject of " + hex(ho) + ", which was already deleted");
        } else if (const gdi_object* dc = holder_of(ho, nullptr)) {
            misuse("DeleteObject of " + hex(ho) + " while it is selected into DC " + hex(dc->handle));
        } else {
            o->alive = 0;
            result = TRUE;
        }
    }
    st().delete_calls.push_back(delete_call{ho, kind, result});
    return result;
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    gdi_object* o = find_object(hdc);
    object_kind kind = o ? o->kind : object_kind::unknown;
    BOOL result = FALSE;
    if (!o || (kind != object_kind::memory_dc && kind != object_kind::paint_dc)) {
        misuse("DeleteDC of " + hex(hdc) + ", which is not a DC");
    } else {
        o->deletes += 1;
        if (kind == object_kind::paint_dc)
            misuse("DeleteDC of the paint DC " + hex(hdc) + "; EndPaint releases it");
        else if (!o->alive)
            misuse("DeleteDC of " + hex(hdc) + ", which was already deleted");
        else {
            release_dc(*o);
            result = TRUE;
        }
    }
    st().delete_calls.push_back(delete_call{hdc, kind, result});
    return result;
}

}  // extern "C"
