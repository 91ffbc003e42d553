// COM pointers owned by RAII, and the wide text COM file interfaces take.
#pragma once
#include <windows.h>

#include <oleauto.h>

#include <string>

#include "platform/win32/win32_handle.h"

namespace corvane {

template <class T>
struct ComTraits {
  using Value = T*;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value v) { return v != nullptr; }
  static void Close(Value v) { v->Release(); }
};
template <class T>
using ComPtr = UniqueHandle<ComTraits<T>>;

// ANSI text in the system code page as UTF-16, for the few interfaces that
// have no ANSI form.
inline std::wstring Wide(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

// UTF-16 text from COM as ANSI text in the system code page.
inline std::string Narrow(const wchar_t* w, std::size_t length) {
  if (!w || length == 0) return {};
  int len = static_cast<int>(length);
  int n = WideCharToMultiByte(CP_ACP, 0, w, len, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, len, &s[0], n, nullptr, nullptr);
  return s;
}

// A BSTR owned by RAII; an empty one is a null BSTR, as COM allows.
struct BstrTraits {
  using Value = BSTR;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value v) { return v != nullptr; }
  static void Close(Value v) { SysFreeString(v); }
};
using Bstr = UniqueHandle<BstrTraits>;

inline Bstr MakeBstr(const std::string& ansi) {
  std::wstring w = Wide(ansi);
  return Bstr(SysAllocStringLen(w.data(), static_cast<UINT>(w.size())));
}

inline std::string Narrow(const Bstr& b) { return Narrow(b.get(), SysStringLen(b.get())); }

// A fresh object of a class, asked for interface T; empty on failure.
template <class T>
ComPtr<T> CreateComObject(REFCLSID cls, REFIID iid) {
  void* raw = nullptr;
  if (FAILED(CoCreateInstance(cls, nullptr, CLSCTX_INPROC_SERVER, iid, &raw))) raw = nullptr;
  return ComPtr<T>(static_cast<T*>(raw));
}

// Another interface of an object; empty when it has none.
template <class T, class From>
ComPtr<T> QueryComInterface(From* object, REFIID iid) {
  void* raw = nullptr;
  if (!object || FAILED(object->QueryInterface(iid, &raw))) raw = nullptr;
  return ComPtr<T>(static_cast<T*>(raw));
}

}  // namespace corvane
