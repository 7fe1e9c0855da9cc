#include "host/runner/DeviceWriteStream.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

ComPtr<CDeviceWriteStream> CDeviceWriteStream::Create(int fd)
{
    ComPtr<CDeviceWriteStream> stream;
    stream.Attach(new CDeviceWriteStream(fd));
    return stream;
}

HRESULT CDeviceWriteStream::WriteBytes(const void* buffer, ULONG size, ULONG* written)
{
    if (written)
        *written = 0;
    if (!buffer && size > 0)
        return E_POINTER;
    if (closed_) {
        if (failure_.empty())
            failure_ = "device data arrived after the output was closed";
        return E_FAIL;
    }
    const char* bytes = static_cast<const char*>(buffer);
    ULONG done = 0;
    while (done < size) {
        const ssize_t n = write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            if (failure_.empty())
                failure_ = std::string("cannot write the device data: ") + std::strerror(error);
            if (written)
                *written = done;
            bytesWritten_ += done;
            return E_FAIL;
        }
        done += static_cast<ULONG>(n);
    }
    bytesWritten_ += done;
    if (written)
        *written = done;
    return S_OK;
}

void CDeviceWriteStream::Close() { closed_ = true; }
