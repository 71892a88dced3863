#include "view/offscreen_buffer.h"

OffscreenBuffer::OffscreenBuffer()
    : owner_(nullptr), dc_(nullptr), bitmap_(nullptr), previousBitmap_(nullptr),
      extraObject_(nullptr), previousExtraObject_(nullptr), bitmapInfo_() {}

OffscreenBuffer::~OffscreenBuffer() {
    DropBitmap();
    if (extraObject_) {
        if (dc_ && previousExtraObject_) SelectObject(dc_, previousExtraObject_);
        DeleteObject(extraObject_);
    }
    if (dc_) DeleteDC(dc_);
}

// Puts the original bitmap back into the context before the own one is deleted: a bitmap
// still selected into a DC cannot be deleted.
void OffscreenBuffer::DropBitmap() {
    if (!bitmap_) return;
    if (dc_ && previousBitmap_) SelectObject(dc_, previousBitmap_);
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
}

void OffscreenBuffer::CreateBufferDc(HDC reference) {
    if (dc_) {
        DropBitmap();
        DeleteDC(dc_);
    }
    dc_ = CreateCompatibleDC(reference);
}

void OffscreenBuffer::CreateBufferBitmap(HDC reference, int width, int height) {
    DropBitmap();
    bitmap_ = CreateCompatibleBitmap(reference, width, height);
    ZeroMemory(&bitmapInfo_, sizeof bitmapInfo_);
    if (bitmap_) GetObjectA(bitmap_, sizeof bitmapInfo_, &bitmapInfo_);
}

bool OffscreenBuffer::SelectBufferBitmap() {
    if (!dc_ || !bitmap_) return false;
    previousBitmap_ = SelectObject(dc_, bitmap_);
    return true;
}

OffscreenBuffer& BackBuffer() {
    static OffscreenBuffer buffer;
    return buffer;
}
