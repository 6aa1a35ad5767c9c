// IUnknown for a COM object that lives as a member of a C++ object: the owner
// decides its lifetime, so the reference count is kept but never deletes.
#pragma once

#include <windows.h>
#include <ole2.h>

template <typename Interface>
class ComObject : public Interface {
 public:
  explicit ComObject(const IID& iid) : m_iid(iid) {}
  virtual ~ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

 private:
  const IID& m_iid;
  ULONG m_references = 0;
};
