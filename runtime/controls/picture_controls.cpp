// Bitmap buttons and picture labels: the image their text names. Apart from
// the procedures, so that a program without such controls links none of it.
#include "subclass_common.h"

#include "rt_numbers.h"
#include "rt_strings.h"

namespace {

// Texts are examined in a 260-byte buffer; a longer text names no image
// rather than a different, cut-off one.
constexpr int32_t kImageTextLimit = 259;

void LoadImageFromText(HWND window, const char* text, UINT getImageMessage, UINT setImageMessage) {
    controls::ReleaseImage(window, getImageMessage);
    HANDLE image = nullptr;
    if (StrLength(text) <= kImageTextLimit) {
        char buffer[kImageTextLimit + 1];
        StrCopy(buffer, text);
        UINT flags = LR_CREATEDIBSECTION;
        HINSTANCE module = nullptr;
        const char* name = buffer;
        if (StrFind(buffer, ":", 1) != 0) {
            flags |= LR_LOADFROMFILE;  // a drive or scheme colon: a file path
        } else {
            module = GetModuleHandleA(nullptr);
            const double value = TextToReal(buffer);
            // Resource numbers are 16 bits; anything else is looked up by name.
            if (value > 0 && value < 65535.5) {
                const int32_t number = RoundNearest(value);
                if (number > 0) name = MAKEINTRESOURCEA(number);
            }
        }
        image = LoadImageA(module, name, IMAGE_BITMAP, 0, 0, flags);
    }
    SendMessageA(window, setImageMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

}  // namespace

void PictureControlsUsed() { controls::pictureLoader = controls::Opaque(LoadImageFromText); }
