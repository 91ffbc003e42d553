// The banner's browser: one small COM object is the control's client site,
// in-place site and frame, and the sink of its events. The control and the
// site hold each other until Close breaks the circle.
#include "app/win32/win32_banner_browser.h"

#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>

#include "platform/win32/win32_com.h"
#include "ui/control.h"

namespace corvane::app::win32 {
namespace {

// The system's HTML engine; without it the control can show no page. (Not in
// the import library's GUIDs.)
constexpr CLSID kHtmlDocument = {
    0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

int live_sites = 0;

HWND Hwnd(ui::WindowHandle h) { return reinterpret_cast<HWND>(h); }

RECT ToRect(const ui::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool CanShowPages() {
  return static_cast<bool>(CreateComObject<IUnknown>(kHtmlDocument, IID_IUnknown));
}

}  // namespace

class Win32BannerBrowser::Site final : public IOleClientSite,
                                       public IOleInPlaceSite,
                                       public IOleInPlaceFrame,
                                       public IDispatch {
 public:
  Site(strip::BannerBrowser& owner, HWND parent, const RECT& place)
      : owner_(&owner), parent_(parent), place_(place) {
    ++live_sites;
  }
  Site(const Site&) = delete;
  Site& operator=(const Site&) = delete;

  bool Embed() {
    ole_ = CreateComObject<IOleObject>(CLSID_WebBrowser, IID_IOleObject);
    if (!ole_ || FAILED(ole_.get()->SetClientSite(this))) return false;
    client_site_set_ = true;
    if (FAILED(ole_.get()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, parent_, &place_)))
      return false;
    in_place_ = QueryComInterface<IOleInPlaceObject>(ole_.get(), IID_IOleInPlaceObject);
    browser_ = QueryComInterface<IWebBrowser2>(ole_.get(), IID_IWebBrowser2);
    if (!in_place_ || !browser_ || FAILED(in_place_.get()->GetWindow(&window_)) || !window_)
      return false;
    // No script error boxes, and nothing dropped on the strip takes it away.
    browser_.get()->put_Silent(VARIANT_TRUE);
    browser_.get()->put_RegisterAsDropTarget(VARIANT_FALSE);
    auto container =
        QueryComInterface<IConnectionPointContainer>(ole_.get(), IID_IConnectionPointContainer);
    IConnectionPoint* point = nullptr;
    if (!container || FAILED(container.get()->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
      return false;
    events_.reset(point);
    if (FAILED(events_.get()->Advise(static_cast<IDispatch*>(this), &cookie_))) {
      cookie_ = 0;
      return false;
    }
    return true;
  }

  void Detach() {
    owner_ = nullptr;
    if (events_ && cookie_) events_.get()->Unadvise(cookie_);
    cookie_ = 0;
    events_.reset();
    if (in_place_) in_place_.get()->InPlaceDeactivate();
    if (ole_) {
      ole_.get()->Close(OLECLOSE_NOSAVE);
      if (client_site_set_) ole_.get()->SetClientSite(nullptr);
    }
    client_site_set_ = false;
    browser_.reset();
    in_place_.reset();
    ole_.reset();
    window_ = nullptr;
  }

  void Navigate(const std::string& address) {
    if (!browser_) return;
    Bstr url = MakeBstr(address);
    VARIANT none;
    VariantInit(&none);
    browser_.get()->Navigate(url.get(), &none, &none, &none, &none);
  }

  void Move(int left) {
    place_.right = left + (place_.right - place_.left);
    place_.left = left;
    if (in_place_) in_place_.get()->SetObjectRects(&place_, &place_);
  }

  int Left() const { return place_.left; }
  HWND Window() const { return window_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
      *out = static_cast<IDispatch*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, for the site and the frame alike
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = parent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = this;
    AddRef();
    *doc = nullptr;
    *pos = place_;
    *clip = place_;
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(parent_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow, IOleInPlaceFrame: no tool space, menus or status line.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
    return INPLACE_E_NOTOOLSPACE;
  }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the control's events; only a completed document matters.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* out) override {
    if (out) *out = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id != DISPID_DOCUMENTCOMPLETE || !owner_ || !owner_->OnDocumentComplete) return S_OK;
    // Keep this object while the handler may close the browser.
    ComPtr<IDispatch> self(this);
    AddRef();
    try {
      owner_->OnDocumentComplete(BodyText());
    } catch (...) {
      // Nothing may leave through the control's call.
    }
    return S_OK;
  }

 private:
  ~Site() { --live_sites; }

  // The current document's body text; nothing when there is no HTML body.
  std::optional<std::string> BodyText() const {
    if (!browser_) return std::nullopt;
    IDispatch* raw = nullptr;
    if (FAILED(browser_.get()->get_Document(&raw)) || !raw) return std::nullopt;
    ComPtr<IDispatch> document(raw);
    auto html = QueryComInterface<IHTMLDocument2>(document.get(), IID_IHTMLDocument2);
    IHTMLElement* body_raw = nullptr;
    if (!html || FAILED(html.get()->get_body(&body_raw)) || !body_raw) return std::nullopt;
    ComPtr<IHTMLElement> body(body_raw);
    BSTR text_raw = nullptr;
    if (FAILED(body.get()->get_outerText(&text_raw))) return std::nullopt;
    Bstr text(text_raw);
    return Narrow(text);
  }

  ULONG refs_ = 1;
  strip::BannerBrowser* owner_;
  HWND parent_;
  RECT place_;
  ComPtr<IOleObject> ole_;
  ComPtr<IOleInPlaceObject> in_place_;
  ComPtr<IWebBrowser2> browser_;
  ComPtr<IConnectionPoint> events_;
  DWORD cookie_ = 0;
  bool client_site_set_ = false;
  HWND window_ = nullptr;
};

Win32BannerBrowser::~Win32BannerBrowser() { Close(); }

int Win32BannerBrowser::LiveSites() { return live_sites; }

bool Win32BannerBrowser::Create(ui::WinControl& parent, const ui::Rect& bounds) {
  Close();
  HWND parent_window = Hwnd(parent.Handle());
  if (!parent_window || (check_engine_ && !CanShowPages())) return false;
  site_ = new Site(*this, parent_window, ToRect(bounds));
  if (site_->Embed()) return true;
  Close();
  return false;
}

void Win32BannerBrowser::Close() {
  if (!site_) return;
  site_->Detach();
  site_->Release();
  site_ = nullptr;
}

void Win32BannerBrowser::Navigate(const std::string& address) {
  if (site_) site_->Navigate(address);
}

void Win32BannerBrowser::SetLeft(int left) {
  if (site_) site_->Move(left);
}

int Win32BannerBrowser::Left() const { return site_ ? site_->Left() : 0; }

ui::WindowHandle Win32BannerBrowser::Window() const {
  return site_ ? reinterpret_cast<ui::WindowHandle>(site_->Window()) : 0;
}

bool Win32BannerBrowser::Contains(ui::WindowHandle window) const {
  HWND own = site_ ? site_->Window() : nullptr;
  HWND w = Hwnd(window);
  return own && w && (w == own || IsChild(own, w));
}

}  // namespace corvane::app::win32
