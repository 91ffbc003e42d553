// A stand-in for the system's web-browser control and its HTML engine, for the
// Wine test prefix only (the suites register it there; Wine's own engine is
// switched off). It does what the banner's container uses and no more: it
// activates in place in the site's window, navigates to a local file, fires
// the document-complete event and serves the document's body text. Every
// other method answers E_NOTIMPL.
#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "platform/win32/win32_com.h"

using corvane::ComPtr;
using corvane::QueryComInterface;

namespace {

#define NI(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
#define NO_TYPE_INFO                                                    \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {        \
    if (n) *n = 0;                                                      \
    return S_OK;                                                        \
  }                                                                     \
  NI(GetTypeInfo, UINT, LCID, ITypeInfo**)                              \
  NI(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)             \
  NI(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
#define COUNTED_REFS                                                   \
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }        \
  ULONG STDMETHODCALLTYPE Release() override {                         \
    ULONG left = --refs_;                                              \
    if (left == 0) delete this;                                        \
    return left;                                                       \
  }

// Not in the import library's GUIDs.
constexpr CLSID kHtmlDocument = {
    0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};
// The system control's outer window class, which the end-to-end tests find.
constexpr wchar_t kFrameClass[] = L"Shell Embedding";
constexpr wchar_t kViewClass[] = L"CrvStandInView";
constexpr UINT kLoaded = WM_APP + 1;

HINSTANCE module = nullptr;
LONG live_objects = 0;
LONG server_locks = 0;

// Every object of the stand-in counts, so that DllCanUnloadNow tells a test
// whether its container let go of everything.
class Counted {
 protected:
  Counted() { ++live_objects; }
  virtual ~Counted() { --live_objects; }
  ULONG refs_ = 1;
};

// Text as a browser shows it: tags dropped, runs of white space as one blank.
std::wstring VisibleText(const std::wstring& html) {
  std::wstring out;
  bool in_tag = false, blank = false;
  for (wchar_t c : html) {
    if (c == L'<') in_tag = true;
    if (in_tag) {
      if (c == L'>') in_tag = false;
      continue;
    }
    if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += L' ';
    blank = false;
    out += c;
  }
  const std::pair<const wchar_t*, const wchar_t*> entities[] = {
      {L"&nbsp;", L" "}, {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&amp;", L"&"}};
  for (const auto& [from, to] : entities)
    for (size_t at = out.find(from); at != std::wstring::npos; at = out.find(from, at + 1))
      out.replace(at, wcslen(from), to);
  return out;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// The body element's text; where the page has no body tag, all but the head.
std::wstring BodyText(const std::wstring& html) {
  std::wstring lower = Lower(html);
  size_t start = lower.find(L"<body");
  size_t end = std::wstring::npos;
  if (start != std::wstring::npos) {
    start = lower.find(L'>', start);
    start = start == std::wstring::npos ? html.size() : start + 1;
    end = lower.find(L"</body", start);
  } else {
    size_t head_end = lower.find(L"</head>");
    start = head_end == std::wstring::npos ? 0 : head_end + 7;
  }
  return VisibleText(html.substr(start, end == std::wstring::npos ? end : end - start));
}

// The page behind an address (a path or a file: URL); nothing when it
// cannot be read.
bool ReadPage(std::wstring address, std::wstring& text) {
  for (const wchar_t* scheme : {L"file:///", L"file://"}) {
    if (Lower(address.substr(0, wcslen(scheme))) == scheme) {
      address.erase(0, wcslen(scheme));
      break;
    }
  }
  for (wchar_t& c : address)
    if (c == L'/') c = L'\\';
  corvane::UniqueHandle<corvane::FileHandleTraits> file(CreateFileW(
      address.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  // Pages say their character set; without one, the system's code page.
  std::string lower = bytes;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  UINT cp = lower.find("charset=utf-8") != std::string::npos ? CP_UTF8 : CP_ACP;
  int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  text.assign(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  return true;
}

bool IsHtml(const std::wstring& address) {
  std::wstring lower = Lower(address);
  for (const wchar_t* ext : {L".htm", L".html"}) {
    size_t n = wcslen(ext);
    if (lower.size() >= n && lower.compare(lower.size() - n, n, ext) == 0) return true;
  }
  return false;
}

class Body final : public IHTMLElement, Counted {
 public:
  explicit Body(std::wstring text) : text_(std::move(text)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLElement)
      return E_NOINTERFACE;
    *out = static_cast<IHTMLElement*>(this);
    AddRef();
    return S_OK;
  }
  COUNTED_REFS
  NO_TYPE_INFO

  HRESULT STDMETHODCALLTYPE get_outerText(BSTR* out) override { return Text(out); }
  HRESULT STDMETHODCALLTYPE get_innerText(BSTR* out) override { return Text(out); }

  // Not used by the banner:
  NI(setAttribute, BSTR, VARIANT, LONG) NI(getAttribute, BSTR, LONG, VARIANT*)
  NI(removeAttribute, BSTR, LONG, VARIANT_BOOL*) NI(put_className, BSTR) NI(get_className, BSTR*)
  NI(put_id, BSTR) NI(get_id, BSTR*) NI(get_tagName, BSTR*) NI(get_parentElement, IHTMLElement**)
  NI(get_style, IHTMLStyle**) NI(put_onhelp, VARIANT) NI(get_onhelp, VARIANT*)
  NI(put_onclick, VARIANT) NI(get_onclick, VARIANT*) NI(put_ondblclick, VARIANT)
  NI(get_ondblclick, VARIANT*) NI(put_onkeydown, VARIANT) NI(get_onkeydown, VARIANT*)
  NI(put_onkeyup, VARIANT) NI(get_onkeyup, VARIANT*) NI(put_onkeypress, VARIANT)
  NI(get_onkeypress, VARIANT*) NI(put_onmouseout, VARIANT) NI(get_onmouseout, VARIANT*)
  NI(put_onmouseover, VARIANT) NI(get_onmouseover, VARIANT*) NI(put_onmousemove, VARIANT)
  NI(get_onmousemove, VARIANT*) NI(put_onmousedown, VARIANT) NI(get_onmousedown, VARIANT*)
  NI(put_onmouseup, VARIANT) NI(get_onmouseup, VARIANT*) NI(get_document, IDispatch**)
  NI(put_title, BSTR) NI(get_title, BSTR*) NI(put_language, BSTR) NI(get_language, BSTR*)
  NI(put_onselectstart, VARIANT) NI(get_onselectstart, VARIANT*) NI(scrollIntoView, VARIANT)
  NI(contains, IHTMLElement*, VARIANT_BOOL*) NI(get_sourceIndex, LONG*)
  NI(get_recordNumber, VARIANT*) NI(put_lang, BSTR) NI(get_lang, BSTR*) NI(get_offsetLeft, LONG*)
  NI(get_offsetTop, LONG*) NI(get_offsetWidth, LONG*) NI(get_offsetHeight, LONG*)
  NI(get_offsetParent, IHTMLElement**) NI(put_innerHTML, BSTR) NI(get_innerHTML, BSTR*)
  NI(put_innerText, BSTR) NI(put_outerHTML, BSTR) NI(get_outerHTML, BSTR*)
  NI(put_outerText, BSTR) NI(insertAdjacentHTML, BSTR, BSTR) NI(insertAdjacentText, BSTR, BSTR)
  NI(get_parentTextEdit, IHTMLElement**) NI(get_isTextEdit, VARIANT_BOOL*) NI(click)
  NI(get_filters, IHTMLFiltersCollection**) NI(put_ondragstart, VARIANT)
  NI(get_ondragstart, VARIANT*) NI(toString, BSTR*) NI(put_onbeforeupdate, VARIANT)
  NI(get_onbeforeupdate, VARIANT*) NI(put_onafterupdate, VARIANT) NI(get_onafterupdate, VARIANT*)
  NI(put_onerrorupdate, VARIANT) NI(get_onerrorupdate, VARIANT*) NI(put_onrowexit, VARIANT)
  NI(get_onrowexit, VARIANT*) NI(put_onrowenter, VARIANT) NI(get_onrowenter, VARIANT*)
  NI(put_ondatasetchanged, VARIANT) NI(get_ondatasetchanged, VARIANT*)
  NI(put_ondataavailable, VARIANT) NI(get_ondataavailable, VARIANT*)
  NI(put_ondatasetcomplete, VARIANT) NI(get_ondatasetcomplete, VARIANT*)
  NI(put_onfilterchange, VARIANT) NI(get_onfilterchange, VARIANT*) NI(get_children, IDispatch**)
  NI(get_all, IDispatch**)

 private:
  HRESULT Text(BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text_.data(), static_cast<UINT>(text_.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  std::wstring text_;
};

// A loaded document. One that is not HTML has no HTML interface, as with
// the real control.
class Document final : public IHTMLDocument2, Counted {
 public:
  Document(std::wstring body, bool html) : body_(std::move(body)), html_(html) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch &&
        (!html_ || (iid != IID_IHTMLDocument && iid != IID_IHTMLDocument2)))
      return E_NOINTERFACE;
    *out = static_cast<IHTMLDocument2*>(this);
    AddRef();
    return S_OK;
  }
  COUNTED_REFS
  NO_TYPE_INFO

  HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** out) override {
    if (!out) return E_POINTER;
    *out = new Body(body_);
    return S_OK;
  }

  // Not used by the banner:
  NI(get_Script, IDispatch**) NI(get_all, IHTMLElementCollection**)
  NI(get_activeElement, IHTMLElement**) NI(get_images, IHTMLElementCollection**)
  NI(get_applets, IHTMLElementCollection**) NI(get_links, IHTMLElementCollection**)
  NI(get_forms, IHTMLElementCollection**) NI(get_anchors, IHTMLElementCollection**)
  NI(put_title, BSTR) NI(get_title, BSTR*) NI(get_scripts, IHTMLElementCollection**)
  NI(put_designMode, BSTR) NI(get_designMode, BSTR*) NI(get_selection, IHTMLSelectionObject**)
  NI(get_readyState, BSTR*) NI(get_frames, IHTMLFramesCollection2**)
  NI(get_embeds, IHTMLElementCollection**) NI(get_plugins, IHTMLElementCollection**)
  NI(put_alinkColor, VARIANT) NI(get_alinkColor, VARIANT*) NI(put_bgColor, VARIANT)
  NI(get_bgColor, VARIANT*) NI(put_fgColor, VARIANT) NI(get_fgColor, VARIANT*)
  NI(put_linkColor, VARIANT) NI(get_linkColor, VARIANT*) NI(put_vlinkColor, VARIANT)
  NI(get_vlinkColor, VARIANT*) NI(get_referrer, BSTR*) NI(get_location, IHTMLLocation**)
  NI(get_lastModified, BSTR*) NI(put_URL, BSTR) NI(get_URL, BSTR*) NI(put_domain, BSTR)
  NI(get_domain, BSTR*) NI(put_cookie, BSTR) NI(get_cookie, BSTR*) NI(put_expando, VARIANT_BOOL)
  NI(get_expando, VARIANT_BOOL*) NI(put_charset, BSTR) NI(get_charset, BSTR*)
  NI(put_defaultCharset, BSTR) NI(get_defaultCharset, BSTR*) NI(get_mimeType, BSTR*)
  NI(get_fileSize, BSTR*) NI(get_fileCreatedDate, BSTR*) NI(get_fileModifiedDate, BSTR*)
  NI(get_fileUpdatedDate, BSTR*) NI(get_security, BSTR*) NI(get_protocol, BSTR*)
  NI(get_nameProp, BSTR*) NI(write, SAFEARRAY*) NI(writeln, SAFEARRAY*)
  NI(open, BSTR, VARIANT, VARIANT, VARIANT, IDispatch**) NI(close) NI(clear)
  NI(queryCommandSupported, BSTR, VARIANT_BOOL*) NI(queryCommandEnabled, BSTR, VARIANT_BOOL*)
  NI(queryCommandState, BSTR, VARIANT_BOOL*) NI(queryCommandIndeterm, BSTR, VARIANT_BOOL*)
  NI(queryCommandText, BSTR, BSTR*) NI(queryCommandValue, BSTR, VARIANT*)
  NI(execCommand, BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*)
  NI(execCommandShowHelp, BSTR, VARIANT_BOOL*) NI(createElement, BSTR, IHTMLElement**)
  NI(put_onhelp, VARIANT) NI(get_onhelp, VARIANT*) NI(put_onclick, VARIANT)
  NI(get_onclick, VARIANT*) NI(put_ondblclick, VARIANT) NI(get_ondblclick, VARIANT*)
  NI(put_onkeyup, VARIANT) NI(get_onkeyup, VARIANT*) NI(put_onkeydown, VARIANT)
  NI(get_onkeydown, VARIANT*) NI(put_onkeypress, VARIANT) NI(get_onkeypress, VARIANT*)
  NI(put_onmouseup, VARIANT) NI(get_onmouseup, VARIANT*) NI(put_onmousedown, VARIANT)
  NI(get_onmousedown, VARIANT*) NI(put_onmousemove, VARIANT) NI(get_onmousemove, VARIANT*)
  NI(put_onmouseout, VARIANT) NI(get_onmouseout, VARIANT*) NI(put_onmouseover, VARIANT)
  NI(get_onmouseover, VARIANT*) NI(put_onreadystatechange, VARIANT)
  NI(get_onreadystatechange, VARIANT*) NI(put_onafterupdate, VARIANT)
  NI(get_onafterupdate, VARIANT*) NI(put_onrowexit, VARIANT) NI(get_onrowexit, VARIANT*)
  NI(put_onrowenter, VARIANT) NI(get_onrowenter, VARIANT*) NI(put_ondragstart, VARIANT)
  NI(get_ondragstart, VARIANT*) NI(put_onselectstart, VARIANT) NI(get_onselectstart, VARIANT*)
  NI(elementFromPoint, LONG, LONG, IHTMLElement**) NI(get_parentWindow, IHTMLWindow2**)
  NI(get_styleSheets, IHTMLStyleSheetsCollection**) NI(put_onbeforeupdate, VARIANT)
  NI(get_onbeforeupdate, VARIANT*) NI(put_onerrorupdate, VARIANT) NI(get_onerrorupdate, VARIANT*)
  NI(toString, BSTR*) NI(createStyleSheet, BSTR, LONG, IHTMLStyleSheet**)

  const std::wstring& body() const { return body_; }

 private:
  std::wstring body_;
  bool html_;
};

class Browser;

// The source of DWebBrowserEvents2; part of the browser, counted with it.
class EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(Browser& owner) : owner_(owner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* out) override {
    if (!out) return E_POINTER;
    *out = DIID_DWebBrowserEvents2;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    if (sink_) return CONNECT_E_ADVISELIMIT;
    sink_ = QueryComInterface<IDispatch>(sink, DIID_DWebBrowserEvents2);
    if (!sink_) return CONNECT_E_CANNOTCONNECT;
    *cookie = kCookie;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    if (cookie != kCookie || !sink_) return CONNECT_E_NOCONNECTION;
    sink_.reset();
    return S_OK;
  }
  NI(EnumConnections, IEnumConnections**)

  // The sink, held for the length of a call that may unadvise it.
  ComPtr<IDispatch> Sink() const {
    if (sink_) sink_.get()->AddRef();
    return ComPtr<IDispatch>(sink_.get());
  }

 private:
  static constexpr DWORD kCookie = 1;
  Browser& owner_;
  ComPtr<IDispatch> sink_;
};

class Browser final : public IOleObject,
                      public IOleInPlaceObject,
                      public IWebBrowser2,
                      public IConnectionPointContainer,
                      Counted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
             iid == IID_IWebBrowser2)
      *out = static_cast<IWebBrowser2*>(this);
    else if (iid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  COUNTED_REFS
  NO_TYPE_INFO

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    client_site_.reset(site);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** out) override {
    if (!out) return E_POINTER;
    *out = client_site_.get();
    if (*out) (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
  // In-place activation in the window and at the place the site reports.
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND,
                                   LPCRECT) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_E_INVALIDVERB;
    if (window_) return S_OK;
    auto in_place = QueryComInterface<IOleInPlaceSite>(site ? site : client_site_.get(),
                                                       IID_IOleInPlaceSite);
    if (!in_place) return E_NOINTERFACE;
    if (in_place.get()->CanInPlaceActivate() != S_OK) return OLEOBJ_S_CANNOT_DOVERB_NOW;
    HWND parent = nullptr;
    if (FAILED(in_place.get()->GetWindow(&parent)) || !parent) return E_UNEXPECTED;
    IOleInPlaceFrame* frame_raw = nullptr;
    IOleInPlaceUIWindow* doc_raw = nullptr;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    HRESULT hr = in_place.get()->GetWindowContext(&frame_raw, &doc_raw, &pos, &clip, &info);
    ComPtr<IOleInPlaceFrame> frame(frame_raw);
    ComPtr<IOleInPlaceUIWindow> doc(doc_raw);
    if (FAILED(hr)) return hr;
    if (!RegisterClasses()) return E_FAIL;
    window_ = CreateWindowExW(0, kFrameClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                              parent, nullptr, module, this);
    if (!window_) return E_FAIL;
    CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, pos.right - pos.left,
                    pos.bottom - pos.top, window_, nullptr, module, this);
    in_place.get()->OnInPlaceActivate();
    in_place_site_ = std::move(in_place);
    return S_OK;
  }
  NI(SetHostNames, LPCOLESTR, LPCOLESTR) NI(SetMoniker, DWORD, IMoniker*)
  NI(GetMoniker, DWORD, DWORD, IMoniker**) NI(InitFromData, IDataObject*, WINBOOL, DWORD)
  NI(GetClipboardData, DWORD, IDataObject**) NI(EnumVerbs, IEnumOLEVERB**) NI(Update)
  NI(IsUpToDate) NI(GetUserClassID, CLSID*) NI(GetUserType, DWORD, LPOLESTR*)
  NI(SetExtent, DWORD, SIZEL*) NI(GetExtent, DWORD, SIZEL*) NI(Advise, IAdviseSink*, DWORD*)
  NI(Unadvise, DWORD) NI(EnumAdvise, IEnumSTATDATA**) NI(GetMiscStatus, DWORD, DWORD*)
  NI(SetColorScheme, LOGPALETTE*)

  // IOleWindow, IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = window_;
    return window_ ? S_OK : E_FAIL;
  }
  NI(ContextSensitiveHelp, BOOL)
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (!window_) return S_OK;
    DestroyWindow(window_);
    window_ = nullptr;
    if (in_place_site_) in_place_site_.get()->OnInPlaceDeactivate();
    in_place_site_.reset();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (!pos) return E_POINTER;
    if (window_)
      MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
                 TRUE);
    return S_OK;
  }
  NI(UIDeactivate)
  NI(ReactivateAndUndo)

  // IWebBrowser2: the page comes a message later, as with the real control.
  HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    if (!url) return E_INVALIDARG;
    if (!window_) return E_FAIL;
    address_.assign(url, SysStringLen(url));
    PostMessageW(window_, kLoaded, 0, 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = document_.get();
    if (!*out) return S_FALSE;
    (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override { return S_OK; }
  NI(GoBack) NI(GoForward) NI(GoHome) NI(GoSearch) NI(Refresh) NI(Refresh2, VARIANT*) NI(Stop)
  NI(get_Application, IDispatch**) NI(get_Parent, IDispatch**) NI(get_Container, IDispatch**)
  NI(get_TopLevelContainer, VARIANT_BOOL*) NI(get_Type, BSTR*) NI(get_Left, LONG*)
  NI(put_Left, LONG) NI(get_Top, LONG*) NI(put_Top, LONG) NI(get_Width, LONG*)
  NI(put_Width, LONG) NI(get_Height, LONG*) NI(put_Height, LONG) NI(get_LocationName, BSTR*)
  NI(get_LocationURL, BSTR*) NI(get_Busy, VARIANT_BOOL*) NI(Quit) NI(ClientToWindow, int*, int*)
  NI(PutProperty, BSTR, VARIANT) NI(GetProperty, BSTR, VARIANT*) NI(get_Name, BSTR*)
  NI(get_HWND, SHANDLE_PTR*) NI(get_FullName, BSTR*) NI(get_Path, BSTR*)
  NI(get_Visible, VARIANT_BOOL*) NI(put_Visible, VARIANT_BOOL) NI(get_StatusBar, VARIANT_BOOL*)
  NI(put_StatusBar, VARIANT_BOOL) NI(get_StatusText, BSTR*) NI(put_StatusText, BSTR)
  NI(get_ToolBar, int*) NI(put_ToolBar, int) NI(get_MenuBar, VARIANT_BOOL*)
  NI(put_MenuBar, VARIANT_BOOL) NI(get_FullScreen, VARIANT_BOOL*)
  NI(put_FullScreen, VARIANT_BOOL)
  NI(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
  NI(QueryStatusWB, OLECMDID, OLECMDF*) NI(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
  NI(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*) NI(get_ReadyState, READYSTATE*)
  NI(get_Offline, VARIANT_BOOL*) NI(put_Offline, VARIANT_BOOL) NI(get_Silent, VARIANT_BOOL*)
  NI(get_RegisterAsBrowser, VARIANT_BOOL*) NI(put_RegisterAsBrowser, VARIANT_BOOL)
  NI(get_RegisterAsDropTarget, VARIANT_BOOL*) NI(get_TheaterMode, VARIANT_BOOL*)
  NI(put_TheaterMode, VARIANT_BOOL) NI(get_AddressBar, VARIANT_BOOL*)
  NI(put_AddressBar, VARIANT_BOOL) NI(get_Resizable, VARIANT_BOOL*)
  NI(put_Resizable, VARIANT_BOOL)

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
    *out = &events_;
    events_.AddRef();
    return S_OK;
  }
  NI(EnumConnectionPoints, IEnumConnectionPoints**)

 private:
  ~Browser() override {
    if (window_) DestroyWindow(window_);
  }

  static bool RegisterClasses() {
    WNDCLASSW wc{};
    wc.hInstance = module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = kFrameClass;
    if (!GetClassInfoW(module, kFrameClass, &wc) && !RegisterClassW(&wc)) return false;
    wc.lpfnWndProc = &ViewProc;
    wc.lpszClassName = kViewClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return GetClassInfoW(module, kViewClass, &wc) || RegisterClassW(&wc);
  }

  static Browser* Of(HWND w, UINT msg, LPARAM l) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                              reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    return reinterpret_cast<Browser*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  }

  static LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Browser* self = Of(w, msg, lp);
    if (msg == WM_SIZE) {
      if (HWND view = ::GetWindow(w, GW_CHILD))
        MoveWindow(view, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    } else if (msg == kLoaded && self) {
      self->Load();
      return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
  }

  static LRESULT CALLBACK ViewProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Browser* self = Of(w, msg, lp);
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (self && self->document_) {
        RECT r;
        GetClientRect(w, &r);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        const std::wstring& text = self->document_.get()->body();
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, old);
      }
      EndPaint(w, &ps);
      return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
  }

  // Loads the page and tells the sink. A page that cannot be read shows the
  // browser's own error page, which on Chinese systems asks to try again.
  void Load() {
    AddRef();
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(this));
    std::wstring page;
    bool found = ReadPage(address_, page);
    if (!found) page = L"<html><body>无法显示网页。请尝试单击“刷新”按钮，或以后再试。</body></html>";
    document_.reset(new Document(BodyText(page), !found || IsHtml(address_)));
    if (HWND view = ::GetWindow(window_, GW_CHILD)) InvalidateRect(view, nullptr, TRUE);

    ComPtr<IDispatch> sink = events_.Sink();
    if (!sink) return;
    VARIANT url;
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocStringLen(address_.data(), static_cast<UINT>(address_.size()));
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_VARIANT | VT_BYREF;  // URL
    args[0].pvarVal = &url;
    args[1].vt = VT_DISPATCH;  // this browser
    args[1].pdispVal = static_cast<IWebBrowser2*>(this);
    DISPPARAMS params{args, nullptr, 2, 0};
    sink.get()->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                       &params, nullptr, nullptr, nullptr);
    VariantClear(&url);
  }

  friend class EventPoint;
  EventPoint events_{*this};
  ComPtr<IOleClientSite> client_site_;
  ComPtr<IOleInPlaceSite> in_place_site_;
  ComPtr<Document> document_;
  HWND window_ = nullptr;
  std::wstring address_;
};

HRESULT EventPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
  *out = this;
  AddRef();
  return S_OK;
}
ULONG EventPoint::AddRef() { return owner_.AddRef(); }
ULONG EventPoint::Release() { return owner_.Release(); }
HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = &owner_;
  owner_.AddRef();
  return S_OK;
}

class Factory final : public IClassFactory {
 public:
  explicit Factory(bool browser) : browser_(browser) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  // Static objects: they count as locks only through LockServer.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* made = browser_ ? static_cast<IOleObject*>(new Browser)
                              : static_cast<IUnknown*>(new Document(L"", true));
    HRESULT hr = made->QueryInterface(iid, out);
    made->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    server_locks += lock ? 1 : -1;
    return S_OK;
  }

 private:
  bool browser_;
};

Factory browser_factory(true);
Factory document_factory(false);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterClassW(kViewClass, instance);
    UnregisterClassW(kFrameClass, instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID cls, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (cls == CLSID_WebBrowser) return browser_factory.QueryInterface(iid, out);
  if (cls == kHtmlDocument) return document_factory.QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// S_OK once every object the stand-in made is gone: what the tests ask.
STDAPI DllCanUnloadNow() { return live_objects == 0 && server_locks == 0 ? S_OK : S_FALSE; }
