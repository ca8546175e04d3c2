#include "ui/accessible_named.h"

#include <ole2.h>
#include <oleacc.h>

#include "ui/late_dlls.h"

namespace {

const GUID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIEnumVariant = {0x00020404, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIOleWindow = {0x00000114, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIAccessible = {0x618736E0, 0x3C3D, 0x11CF,
                           {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const wchar_t kProperty[] = L"Tessarine.ReaderName";

bool Same(REFIID a, const GUID& b) { return IsEqualGUID(a, b) != FALSE; }
bool Self(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }

// What is put in for the control itself.
struct Overrides {
  std::wstring name;
  long role = 0;
  std::function<std::wstring()> value;
  std::function<long()> state;
};

// The system's object for the control with the overrides put in; all else is its own.
class Renamed final : public IAccessible {
 public:
  Renamed(IAccessible* system, const Overrides* own) : system_(system), own_(own) {}
  // The window is gone: the clients still holding this object get errors from now on.
  void Disconnect() {
    if (system_) system_->Release();
    system_ = nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (Same(iid, kIUnknown) || Same(iid, kIDispatch) || Same(iid, kIAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // What a reader asks of the system's object besides: its children, and its window.
    if (system_ && (Same(iid, kIEnumVariant) || Same(iid, kIOleWindow)))
      return system_->QueryInterface(iid, out);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) {
      Disconnect();
      delete this;
    }
    return n;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    return system_ ? system_->GetTypeInfoCount(n) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
    return system_ ? system_->GetTypeInfo(i, l, t) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                          DISPID* d) override {
    return system_ ? system_->GetIDsOfNames(r, n, c, l, d) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p,
                                   VARIANT* v, EXCEPINFO* e, UINT* a) override {
    return system_ ? system_->Invoke(d, r, l, f, p, v, e, a) : RPC_E_DISCONNECTED;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (!system_) return RPC_E_DISCONNECTED;
    if (!Self(child) || own_->name.empty()) return system_->get_accName(child, out);
    return text(own_->name, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    if (!system_) return RPC_E_DISCONNECTED;
    if (!Self(child) || !own_->value) return system_->get_accValue(child, out);
    return text(own_->value(), out);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
    return system_ ? system_->get_accParent(p) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
    return system_ ? system_->get_accChildCount(n) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
    return system_ ? system_->get_accChild(c, d) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* s) override {
    return system_ ? system_->get_accDescription(c, s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override {
    if (!system_) return RPC_E_DISCONNECTED;
    if (!Self(c) || !own_->role || !r) return system_->get_accRole(c, r);
    r->vt = VT_I4;
    r->lVal = own_->role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
    if (!system_) return RPC_E_DISCONNECTED;
    const HRESULT result = system_->get_accState(c, s);
    if (SUCCEEDED(result) && Self(c) && own_->state && s && s->vt == VT_I4) s->lVal |= own_->state();
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* s) override {
    return system_ ? system_->get_accHelp(c, s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
    return system_ ? system_->get_accHelpTopic(f, c, t) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* s) override {
    return system_ ? system_->get_accKeyboardShortcut(c, s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override {
    return system_ ? system_->get_accFocus(f) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override {
    return system_ ? system_->get_accSelection(s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* s) override {
    return system_ ? system_->get_accDefaultAction(c, s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override {
    return system_ ? system_->accSelect(f, c) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h,
                                        VARIANT c) override {
    return system_ ? system_->accLocation(x, y, w, h, c) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override {
    return system_ ? system_->accNavigate(d, s, e) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override {
    return system_ ? system_->accHitTest(x, y, c) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
    return system_ ? system_->accDoDefaultAction(c) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR s) override {
    return system_ ? system_->put_accName(c, s) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR s) override {
    return system_ ? system_->put_accValue(c, s) : RPC_E_DISCONNECTED;
  }

 private:
  static HRESULT text(const std::wstring& s, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (s.empty()) return S_FALSE;
    *out = SysAllocStringLate(s.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  IAccessible* system_;
  const Overrides* own_;  // the hook's; read only while system_ is set
  LONG refs_ = 1;
};

// What the hook keeps for its window.
struct Hooked {
  WNDPROC next = nullptr;
  Overrides own;
  Renamed* object = nullptr;
};

LRESULT CALLBACK HookProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* h = static_cast<Hooked*>(GetPropW(window, kProperty));
  if (!h || !h->next) return DefWindowProcW(window, msg, wp, lp);
  const WNDPROC next = h->next;
  if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT) {
    if (!h->object) {
      ComForThisThreadLate();
      IAccessible* system = nullptr;
      if (FAILED(CreateStdAccessibleObjectLate(window, OBJID_CLIENT, kIAccessible,
                                               reinterpret_cast<void**>(&system))) || !system)
        return CallWindowProcW(next, window, msg, wp, lp);
      h->object = new Renamed(system, &h->own);
    }
    return LresultFromObjectLate(kIAccessible, wp, h->object);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    RemovePropW(window, kProperty);
    if (h->object) {
      h->object->Disconnect();
      h->object->Release();
    }
    delete h;
  }
  return CallWindowProcW(next, window, msg, wp, lp);
}

}  // namespace

void NameForReaders(HWND window, std::wstring name, long role,
                    std::function<std::wstring()> value, std::function<long()> state) {
  if (!window) return;
  Overrides own{std::move(name), role, std::move(value), std::move(state)};
  if (auto* h = static_cast<Hooked*>(GetPropW(window, kProperty))) {
    h->own = std::move(own);
    return;
  }
  auto* h = new Hooked{nullptr, std::move(own), nullptr};
  if (!SetPropW(window, kProperty, h)) {
    delete h;
    return;
  }
  h->next = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
}
