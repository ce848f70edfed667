#pragma once
// COM as the picture layer uses it: the initialisation of COM on a thread,
// interface pointers and PROPVARIANT values, each released on every path out
// of its scope.
#include <windows.h>
#include <objbase.h>
#include <propidl.h>

#include <utility>

// COM initialised on the calling thread for the lifetime of the object (a
// single-threaded apartment, as a thread with windows needs), and
// uninitialised after. A thread whose COM another part of the program has
// already initialised in the other model keeps it: COM can still be used,
// and the object leaves it alone.
class TComScope {
 public:
  TComScope() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComScope() {
    if (SUCCEEDED(Result)) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
  // Whether COM can be used on this thread.
  bool Usable() const { return SUCCEEDED(Result) || Result == RPC_E_CHANGED_MODE; }

 private:
  HRESULT Result;
};

// Owns one reference to a COM interface; released on every path out of its
// scope. Movable, not copyable (Share makes a second reference explicitly).
template <typename T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference that the caller owned.
  explicit TComPtr(T* Owned) : Pointer(Owned) {}
  ~TComPtr() { Reset(); }
  TComPtr(TComPtr&& Other) noexcept : Pointer(std::exchange(Other.Pointer, nullptr)) {}
  TComPtr& operator=(TComPtr&& Other) noexcept {
    if (this != &Other) {
      Reset();
      Pointer = std::exchange(Other.Pointer, nullptr);
    }
    return *this;
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;

  T* Get() const { return Pointer; }
  T* operator->() const { return Pointer; }
  explicit operator bool() const { return Pointer != nullptr; }
  // Releases the interface held so far and returns where a call that
  // creates one stores it.
  T** Put() {
    Reset();
    return &Pointer;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (Pointer) std::exchange(Pointer, nullptr)->Release();
  }
  // Forgets the interface without releasing it: for an object that faulted
  // inside, which must not be called again.
  void Abandon() { Pointer = nullptr; }
  // A second reference to the same object.
  TComPtr Share() const {
    if (Pointer) Pointer->AddRef();
    return TComPtr(Pointer);
  }
  // The object's interface U, or null when it has none.
  template <typename U>
  TComPtr<U> As() const {
    TComPtr<U> Other;
    if (Pointer) Pointer->QueryInterface(__uuidof(U), Other.PutVoid());
    return Other;
  }

 private:
  T* Pointer = nullptr;
};

// A PROPVARIANT that a call fills in, cleared on every path out of its scope.
class TPropVariant {
 public:
  TPropVariant() { PropVariantInit(&Value); }
  ~TPropVariant() { PropVariantClear(&Value); }
  TPropVariant(const TPropVariant&) = delete;
  TPropVariant& operator=(const TPropVariant&) = delete;
  PROPVARIANT* Put() {
    PropVariantClear(&Value);
    return &Value;
  }
  const PROPVARIANT& Get() const { return Value; }
  // Forgets the value without clearing it: for one that a faulting call
  // left half written.
  void Abandon() { PropVariantInit(&Value); }

 private:
  PROPVARIANT Value;
};
