#include "hosts/win32/wic_decoder_stream.h"

#include <atomic>
#include <cstring>

namespace pictavo::platform::win32 {

namespace {

// COM objects end through Release, never through a pointer to the interface,
// which is why its destructor is not virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class SourceStream final : public IStream {
  public:
    explicit SourceStream(const imaging::ByteSource& source) : source_(source) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* out, ULONG count, ULONG* read) override {
        if (read != nullptr) *read = 0;
        if (out == nullptr) return STG_E_INVALIDPOINTER;
        auto got = source_.read(position_, {static_cast<uint8_t*>(out), count});
        if (!got) return STG_E_READFAULT;
        position_ += *got;
        if (read != nullptr) *read = static_cast<ULONG>(*got);
        return *got < count ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
        return STG_E_ACCESSDENIED;
    }

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* moved) override {
        int64_t base = 0;
        if (origin == STREAM_SEEK_CUR) base = static_cast<int64_t>(position_);
        if (origin == STREAM_SEEK_END) base = static_cast<int64_t>(source_.size());
        if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
        const int64_t target = base + move.QuadPart;
        if (target < 0) return STG_E_INVALIDFUNCTION;
        position_ = static_cast<uint64_t>(target);
        if (moved != nullptr) moved->QuadPart = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (stat == nullptr) return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = source_.size();
        stat->grfMode = STGM_READ;
        return S_OK;
    }

    // A picture file is only read.
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                     ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

  private:
    ~SourceStream() = default;

    const imaging::ByteSource& source_;
    uint64_t position_ = 0;
    std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace

ComRef<IStream> streamOver(const imaging::ByteSource& source) {
    ComRef<IStream> stream;
    *stream.put() = new SourceStream(source);
    return stream;
}

}  // namespace pictavo::platform::win32
