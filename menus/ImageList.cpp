#include "menus/ImageList.h"

#include "base/Errors.h"
#include "base/Handles.h"

#include <algorithm>

namespace nv {

TImageList::TImageList(int width, int height) : width_(width), height_(height) {
    list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 8);
    if (!list_) throw EError("Out of system resources");
}

TImageList::~TImageList() {
    Changed(true);
    ImageList_Destroy(list_);
}

int TImageList::Count() const {
    return ImageList_GetImageCount(list_);
}

void TImageList::AddMasked(HBITMAP strip, COLORREF mask) {
    BITMAP info{};
    if (!strip || !::GetObjectA(strip, sizeof info, &info)) throw EError("Invalid bitmap");
    // ImageList_AddMasked blackens the masked pixels of the bitmap it is given: work on a copy.
    GdiObject copy(::CopyImage(strip, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy) throw EError("Out of system resources");
    if (ImageList_AddMasked(list_, static_cast<HBITMAP>(copy.get()), mask) < 0) {
        throw EError("Out of system resources");
    }
    Changed(false);
}

void TImageList::AddMaskedResource(HINSTANCE module, int id, COLORREF mask) {
    GdiObject strip(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip) throw EError("Bitmap resource not found");
    AddMasked(static_cast<HBITMAP>(strip.get()), mask);
}

void TImageList::Clear() {
    ImageList_Remove(list_, -1);
    Changed(false);
}

void TImageList::Resize(int width, int height) {
    HIMAGELIST made = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 8);
    if (!made) throw EError("Out of system resources");
    ImageList_Destroy(list_);
    list_ = made;
    width_ = width;
    height_ = height;
    Changed(false);
}

void TImageList::Draw(HDC dc, int index, int x, int y) const {
    ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
}

void TImageList::DrawMask(HDC monoDC, int index) const {
    const RECT all{0, 0, width_, height_};
    ::FillRect(monoDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list_, index, monoDC, 0, 0, ILD_MASK);
}

int TImageList::Subscribe(TChangeEvent handler) {
    listeners_.push_back(Listener{++lastId_, std::move(handler)});
    return lastId_;
}

void TImageList::Unsubscribe(int id) noexcept {
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [id](const Listener& listener) { return listener.Id == id; }),
                     listeners_.end());
}

void TImageList::Changed(bool destroyed) {
    // A listener may unsubscribe while it is told.
    const std::vector<Listener> listeners = listeners_;
    for (const Listener& listener : listeners) {
        if (listener.Handler) listener.Handler(destroyed);
    }
}

} // namespace nv
