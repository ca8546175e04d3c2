#include "ui/accessible.h"

#include "ui/late_dlls.h"

namespace {

// Spelled out rather than taken from a library: the program links no uuid library.
const GUID kIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kIAccessible = {0x618736E0, 0x3C3D, 0x11CF,
                           {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

bool Same(REFIID a, const GUID& b) { return IsEqualGUID(a, b) != FALSE; }

}  // namespace

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(HWND window, AccessibleSource* source) : window_(window), source_(source) {}
  void Disconnect() { source_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Same(iid, kIUnknown) && !Same(iid, kIDispatch) && !Same(iid, kIAccessible))
      return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  // IDispatch: readers call the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!source_) return RPC_E_DISCONNECTED;
    return CreateStdAccessibleObjectLate(window_, OBJID_WINDOW, kIDispatch,
                                         reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
    if (!n) return E_POINTER;
    if (!source_) return RPC_E_DISCONNECTED;
    *n = source_->AccessibleCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return valid(child) ? S_FALSE : E_INVALIDARG;  // simple elements, no objects of their own
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessibleInfo::name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessibleInfo::value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return nothing(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return number(child, out, &AccessibleInfo::role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return number(child, out, &AccessibleInfo::state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return nothing(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return nothing(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    out->vt = VT_EMPTY;
    if (!source_) return RPC_E_DISCONNECTED;
    const int focus = source_->AccessibleFocus();
    if (focus < 0) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = focus;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (out) out->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return text(child, out, &AccessibleInfo::defaultAction);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h,
                                        VARIANT child) override {
    if (!x || !y || !w || !h) return E_POINTER;
    if (!valid(child)) return E_INVALIDARG;
    const RECT r = source_->Accessible(child.lVal).screen;
    *x = r.left;
    *y = r.top;
    *w = r.right - r.left;
    *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* out) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!valid(child)) return E_INVALIDARG;
    return source_->AccessibleDefault(child.lVal) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool valid(const VARIANT& child) const {
    return source_ && child.vt == VT_I4 && child.lVal >= 0 &&
           child.lVal <= source_->AccessibleCount();
  }
  HRESULT text(const VARIANT& child, BSTR* out, std::wstring AccessibleInfo::*field) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!valid(child)) return E_INVALIDARG;
    const std::wstring s = source_->Accessible(child.lVal).*field;
    if (s.empty()) return S_FALSE;
    *out = SysAllocStringLate(s.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT number(const VARIANT& child, VARIANT* out, long AccessibleInfo::*field) {
    if (!out) return E_POINTER;
    if (!valid(child)) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = source_->Accessible(child.lVal).*field;
    return S_OK;
  }
  HRESULT nothing(const VARIANT& child, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return valid(child) ? S_FALSE : E_INVALIDARG;
  }

  HWND window_;
  AccessibleSource* source_;
  LONG refs_ = 1;
};

HRESULT AccessibleObject::accNavigate(LONG dir, VARIANT start, VARIANT* out) {
  if (!out) return E_POINTER;
  out->vt = VT_EMPTY;
  if (!valid(start)) return E_INVALIDARG;
  const int n = source_->AccessibleCount(), from = start.lVal;
  int to = 0;
  switch (dir) {
    case NAVDIR_FIRSTCHILD: to = from == 0 && n > 0 ? 1 : 0; break;
    case NAVDIR_LASTCHILD: to = from == 0 ? n : 0; break;
    case NAVDIR_NEXT: to = from > 0 && from < n ? from + 1 : 0; break;
    case NAVDIR_PREVIOUS: to = from > 1 ? from - 1 : 0; break;
    default: return E_NOTIMPL;
  }
  if (to == 0) return S_FALSE;
  out->vt = VT_I4;
  out->lVal = to;
  return S_OK;
}

HRESULT AccessibleObject::accHitTest(LONG x, LONG y, VARIANT* out) {
  if (!out) return E_POINTER;
  out->vt = VT_EMPTY;
  if (!source_) return RPC_E_DISCONNECTED;
  const POINT p{x, y};
  // The last element listed lies on top, as on the screen.
  for (int i = source_->AccessibleCount(); i >= 0; --i) {
    const RECT r = source_->Accessible(i).screen;
    if (!PtInRect(&r, p)) continue;
    out->vt = VT_I4;
    out->lVal = i;
    return S_OK;
  }
  return S_FALSE;
}

long MsaaRole(ReaderRole role) {
  switch (role) {
    case ReaderRole::TitleBar: return ROLE_SYSTEM_TITLEBAR;
    case ReaderRole::Dialog: return ROLE_SYSTEM_DIALOG;
    case ReaderRole::Alert: return ROLE_SYSTEM_ALERT;
    case ReaderRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case ReaderRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case ReaderRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case ReaderRole::ComboBox: return ROLE_SYSTEM_COMBOBOX;
    case ReaderRole::ScrollBar: return ROLE_SYSTEM_SCROLLBAR;
    case ReaderRole::Slider: return ROLE_SYSTEM_SLIDER;
    case ReaderRole::EditText: return ROLE_SYSTEM_TEXT;
    case ReaderRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case ReaderRole::StaticText: case ReaderRole::None: break;
  }
  return ROLE_SYSTEM_STATICTEXT;
}

AccessibleServer::~AccessibleServer() { Disconnect(); }

void AccessibleServer::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  object_->Release();
  object_ = nullptr;
}

bool AccessibleServer::Answer(HWND window, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (static_cast<LONG>(lp) != OBJID_CLIENT) return false;
  if (!object_) {
    ComForThisThreadLate();  // the object is marshalled to the reader's process
    object_ = new AccessibleObject(window, &source_);
  }
  result = LresultFromObjectLate(kIAccessible, wp, object_);
  return true;
}

void AccessibleServer::Notify(HWND window, DWORD event, int child) {
  NotifyWinEvent(event, window, OBJID_CLIENT, child);
}
