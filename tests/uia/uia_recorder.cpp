// A stand-in for Windows' UI Automation core, for the tests under Wine alone
// and never shipped: Wine's own answers that no client listens, so Qt raises
// nothing. This one says a client listens and writes a line for every event
// Qt raises, to the file VELUNOR_UIA_LOG names. At a notification it also
// writes what a screen reader would read then: the focused element, and each
// text box's value and text, as the Value and Text patterns give them.

#include <windows.h>

#include <oleauto.h>
#include <uiautomationcore.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace {

constexpr GUID kValueProvider = {
    0xc7935180, 0x6fb3, 0x4201, {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};
constexpr GUID kTextProvider = {
    0x3589c92c, 0x63f3, 0x4367, {0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7, 0x7c, 0xf2}};
constexpr GUID kFragment = {
    0xf7063da8, 0x8359, 0x439c, {0x92, 0x97, 0xbb, 0xc5, 0x29, 0x9a, 0x7d, 0x87}};
constexpr GUID kFragmentRoot = {
    0x620ce2a5, 0xab8f, 0x40a9, {0x86, 0xcb, 0xde, 0x3c, 0x75, 0x59, 0x9b, 0x58}};
constexpr GUID kSimple = {
    0xd6dd68d1, 0x86fd, 0x4332, {0x86, 0x66, 0x9a, 0xbe, 0xde, 0xa2, 0xd2, 0x4c}};

constexpr PROPERTYID kControlType = 30003;
constexpr PROPERTYID kName = 30005;
constexpr PROPERTYID kAutomationId = 30011;
constexpr PATTERNID kValuePattern = 10002;
constexpr PATTERNID kTextPattern = 10014;
constexpr long kEditControl = 50004;

IRawElementProviderSimple* root = nullptr;  // what the window answered WM_GETOBJECT with

// One line, UTF-8, appended and flushed at once: the check reads it while the
// program still runs.
void write(const wchar_t* format, ...) {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"VELUNOR_UIA_LOG", path, MAX_PATH) == 0) {
        return;
    }
    wchar_t line[2048];
    va_list args;
    va_start(args, format);
    _vsnwprintf(line, 2047, format, args);
    va_end(args);
    line[2047] = 0;
    char utf8[8192];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    if (size <= 0) {
        return;
    }
    utf8[size - 1] = '\n';
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, utf8, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

// A BSTR as text to log; an empty one as "".
const wchar_t* text(BSTR value) {
    return value != nullptr ? value : L"";
}

BSTR stringProperty(IRawElementProviderSimple* element, PROPERTYID id) {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(element->GetPropertyValue(id, &v)) || v.vt != VT_BSTR) {
        VariantClear(&v);
        return nullptr;
    }
    return v.bstrVal;
}

long controlType(IRawElementProviderSimple* element) {
    VARIANT v;
    VariantInit(&v);
    const long type =
        SUCCEEDED(element->GetPropertyValue(kControlType, &v)) && v.vt == VT_I4 ? v.lVal : 0;
    VariantClear(&v);
    return type;
}

// "id=LblCrCl name="50.0" type=50020"
void describe(IRawElementProviderSimple* element, wchar_t* out, size_t size) {
    if (element == nullptr) {
        _snwprintf(out, size, L"none");
        return;
    }
    BSTR id = stringProperty(element, kAutomationId);
    BSTR name = stringProperty(element, kName);
    _snwprintf(out, size, L"id=%ls name=\"%ls\" type=%ld", text(id), text(name),
               controlType(element));
    out[size - 1] = 0;
    SysFreeString(id);
    SysFreeString(name);
}

template <typename Interface>
Interface* query(IUnknown* from, const GUID& iid) {
    void* found = nullptr;
    if (from == nullptr || FAILED(from->QueryInterface(iid, &found))) {
        return nullptr;
    }
    return static_cast<Interface*>(found);
}

void logFocus() {
    auto* fragmentRoot = query<IRawElementProviderFragmentRoot>(root, kFragmentRoot);
    IRawElementProviderFragment* focused = nullptr;
    if (fragmentRoot != nullptr) {
        fragmentRoot->GetFocus(&focused);
        fragmentRoot->Release();
    }
    auto* simple = query<IRawElementProviderSimple>(focused, kSimple);
    wchar_t who[512];
    describe(simple, who, 512);
    write(L"focus %ls", who);
    if (simple != nullptr)
        simple->Release();
    if (focused != nullptr)
        focused->Release();
}

// Each text box below `parent`: its whole value and its document's text.
void logBoxes(IRawElementProviderFragment* parent) {
    IRawElementProviderFragment* child = nullptr;
    parent->Navigate(NavigateDirection_FirstChild, &child);
    while (child != nullptr) {
        if (auto* simple = query<IRawElementProviderSimple>(child, kSimple)) {
            if (controlType(simple) == kEditControl) {
                BSTR id = stringProperty(simple, kAutomationId);
                BSTR value = nullptr;
                BSTR document = nullptr;
                IUnknown* pattern = nullptr;
                if (SUCCEEDED(simple->GetPatternProvider(kValuePattern, &pattern)) && pattern) {
                    if (auto* v = query<IValueProvider>(pattern, kValueProvider)) {
                        v->get_Value(&value);
                        v->Release();
                    }
                    pattern->Release();
                }
                pattern = nullptr;
                if (SUCCEEDED(simple->GetPatternProvider(kTextPattern, &pattern)) && pattern) {
                    if (auto* t = query<ITextProvider>(pattern, kTextProvider)) {
                        ITextRangeProvider* range = nullptr;
                        if (SUCCEEDED(t->get_DocumentRange(&range)) && range) {
                            range->GetText(-1, &document);
                            range->Release();
                        }
                        t->Release();
                    }
                    pattern->Release();
                }
                write(L"box id=%ls value=\"%ls\" text=\"%ls\"", text(id), text(value),
                      text(document));
                SysFreeString(id);
                SysFreeString(value);
                SysFreeString(document);
            }
            simple->Release();
        }
        logBoxes(child);
        IRawElementProviderFragment* next = nullptr;
        child->Navigate(NavigateDirection_NextSibling, &next);
        child->Release();
        child = next;
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI UiaClientsAreListening() {
    return TRUE;
}

__declspec(dllexport) LRESULT WINAPI
    UiaReturnRawElementProvider(HWND window, WPARAM, LPARAM objectId,
                                IRawElementProviderSimple* element) {
    if (element != nullptr && root == nullptr) {
        element->AddRef();
        root = element;
    }
    write(L"root window=%p object=%ld", static_cast<void*>(window), static_cast<long>(objectId));
    return 0;
}

__declspec(dllexport) HRESULT WINAPI
    UiaHostProviderFromHwnd(HWND, IRawElementProviderSimple** host) {
    if (host != nullptr) {
        *host = nullptr;
    }
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseAutomationEvent(IRawElementProviderSimple* element, EVENTID id) {
    wchar_t who[512];
    describe(element, who, 512);
    write(L"event %d %ls", id, who);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseAutomationPropertyChangedEvent(IRawElementProviderSimple* element, PROPERTYID id,
                                           VARIANT, VARIANT) {
    wchar_t who[512];
    describe(element, who, 512);
    write(L"property %d %ls", id, who);
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    UiaRaiseNotificationEvent(IRawElementProviderSimple* element, int kind, int processing,
                              BSTR display, BSTR) {
    wchar_t who[512];
    describe(element, who, 512);
    write(L"notification \"%ls\" kind=%d processing=%d from %ls", text(display), kind, processing,
          who);
    logFocus();
    if (auto* fragment = query<IRawElementProviderFragment>(root, kFragment)) {
        logBoxes(fragment);
        fragment->Release();
    }
    return S_OK;
}

}  // extern "C"
