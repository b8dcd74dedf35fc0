#include "wayland/input.h"

#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

#include <cstring>

#include "wayland/connection.h"
#include "wayland/surfaces.h"

InputRule EndingInput;

namespace {

wl_seat* Seat;
uint32_t SeatGlobal;  // the registry's name for it
wl_keyboard* Keyboard;
wl_pointer* Pointer;
xkb_context* Xkb;
xkb_keymap* Keymap;
xkb_state* KeyState;

// The window's keys are read through the keymap, so that Q is Q on every layout.
void OnKeymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (EndingInput == InputRule::WindowKeys && format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            if (Xkb == nullptr) Xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
            xkb_state_unref(KeyState);
            xkb_keymap_unref(Keymap);
            Keymap = xkb_keymap_new_from_buffer(Xkb, static_cast<const char*>(text), strnlen(static_cast<const char*>(text), size),
                                                XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            KeyState = Keymap != nullptr ? xkb_state_new(Keymap) : nullptr;
            munmap(text, size);
        }
    }
    close(fd);
}

void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}

void OnKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
    if (EndingInput == InputRule::AnyKey) EndRequested = true;
    if (EndingInput != InputRule::WindowKeys || KeyState == nullptr) return;
    // The key's unshifted symbol, as the X11 program reads it; evdev codes are 8 below xkb's.
    const xkb_keysym_t symbol = xkb_state_key_get_one_sym(KeyState, key + 8);
    if (symbol == XKB_KEY_q || symbol == XKB_KEY_Q || symbol == XKB_KEY_Escape) EndRequested = true;
}

void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

constexpr wl_keyboard_listener KeyboardListener{OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

// No cursor over a screensaver.
void OnPointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t, wl_fixed_t) {
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
}
void OnPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void OnMotion(void*, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {}
void OnButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) EndRequested = true;
}
void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}

// The seat is bound at version 4 at most: the later versions' events never come.
constexpr wl_pointer_listener PointerListener{OnPointerEnter, OnPointerLeave, OnMotion, OnButton, OnAxis,
                                              nullptr,        nullptr,        nullptr,  nullptr,  nullptr};

// Since version 3 the compositor frees its side of the device as well.
void DropKeyboard() {
    if (Keyboard == nullptr) return;
    if (wl_keyboard_get_version(Keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) wl_keyboard_release(Keyboard);
    else wl_keyboard_destroy(Keyboard);
    Keyboard = nullptr;
}

void DropPointer() {
    if (Pointer == nullptr) return;
    if (wl_pointer_get_version(Pointer) >= WL_POINTER_RELEASE_SINCE_VERSION) wl_pointer_release(Pointer);
    else wl_pointer_destroy(Pointer);
    Pointer = nullptr;
}

void OnCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 && EndingInput == InputRule::AnyKey;
    if (keyboard && Keyboard == nullptr) {
        Keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(Keyboard, &KeyboardListener, nullptr);
    } else if (!keyboard) {
        DropKeyboard();
    }
    if (pointer && Pointer == nullptr) {
        Pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(Pointer, &PointerListener, nullptr);
    } else if (!pointer) {
        DropPointer();
    }
}

void OnSeatName(void*, wl_seat*, const char*) {}

constexpr wl_seat_listener SeatListener{OnCapabilities, OnSeatName};

}  // namespace

void AddSeat(wl_registry* registry, uint32_t name, uint32_t version) {
    if (Seat != nullptr || EndingInput == InputRule::None) return;
    // Version 4 at most: the listeners above know no later events.
    Seat = Bind<wl_seat>(registry, name, wl_seat_interface, version, 4);
    SeatGlobal = name;
    wl_seat_add_listener(Seat, &SeatListener, nullptr);
}

void RemoveSeat(uint32_t name) {
    if (Seat == nullptr || name != SeatGlobal) return;
    DropKeyboard();
    DropPointer();
    // wl_seat.release comes with version 5, which this program does not bind.
    wl_seat_destroy(Seat);
    Seat = nullptr;
}
