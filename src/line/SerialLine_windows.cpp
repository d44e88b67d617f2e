// The Win32 serial line: exclusive CreateFileW on \\.\COMn, a DCB for 8N1 without flow control, reads
// timed by COMMTIMEOUTS (the wait blocks in the driver, never spins), PurgeComm to discard input.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "line/WindowsSerialLine.h"
#include "ports/PortErrors.h"
#include "util/platform/Win32.h"

namespace k52 {
namespace {

HANDLE H(void* handle) {
    return static_cast<HANDLE>(handle);
}

std::string Reason(const std::string& device, int number) {
    return device + ": " + std::strerror(number);
}

}  // namespace

std::unique_ptr<WindowsSerialLine> WindowsSerialLine::Open(const std::string& device, std::string* error,
                                                           int* errorNumber) {
    auto fail = [&](int number) -> std::unique_ptr<WindowsSerialLine> {
        if (errorNumber) *errorNumber = number;
        if (error) *error = Reason(device, number);
        return nullptr;
    };
    // No sharing: the port is ours alone while it is open, as TIOCEXCL and the lock make it on Linux.
    HANDLE h = CreateFileW(platform::Widen(Win32DevicePath(device)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A port another program holds answers "access denied".
        return fail(code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION
                        ? EBUSY
                        : platform::ErrnoFromWin32(code));
    }
    std::unique_ptr<WindowsSerialLine> line(new WindowsSerialLine(h));
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) return fail(ENOTTY);
    // Raw bytes: no parity checking, no replacement of errors, no NUL stripping, no flow control.
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(h, &dcb)) return fail(platform::SetErrnoFromLastError());
    if (!line->SetReadTimeouts(0)) return fail(platform::SetErrnoFromLastError());
    return line;
}

WindowsSerialLine::~WindowsSerialLine() {
    Close();
}

bool WindowsSerialLine::SetReadTimeouts(std::int64_t timeoutMs) {
    if (readTimeout_ == timeoutMs) return true;
    const Win32ReadTimeouts read = ChooseWin32ReadTimeouts(timeoutMs);
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = read.interval;
    t.ReadTotalTimeoutMultiplier = read.multiplier;
    t.ReadTotalTimeoutConstant = read.constant;
    t.WriteTotalTimeoutMultiplier = writeMultiplier_;
    t.WriteTotalTimeoutConstant = writeConstant_;
    if (!SetCommTimeouts(H(handle_), &t)) return false;
    readTimeout_ = timeoutMs;
    return true;
}

bool WindowsSerialLine::Apply(const LineSettings& settings) {
    if (!handle_) return false;
    const std::optional<Win32LineSetup> setup = ChooseWin32LineSetup(settings);
    if (!setup) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(H(handle_), &dcb)) return false;
    dcb.BaudRate = setup->baudRate;
    dcb.ByteSize = setup->byteSize;
    dcb.Parity = setup->parity;
    dcb.StopBits = setup->stopBits;
    dcb.fOutxCtsFlow = setup->outxCtsFlow ? TRUE : FALSE;
    dcb.fOutX = setup->outX ? TRUE : FALSE;
    dcb.fInX = setup->inX ? TRUE : FALSE;
    // The modem lines through the DCB: EscapeCommFunction fails where the port has none (a pseudo-terminal
    // behind Wine), which is no fault here, as on Linux.
    dcb.fDtrControl = setup->dtrControl == 1 ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = setup->rtsControl == 1 ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    if (!SetCommState(H(handle_), &dcb)) return false;
    writeMultiplier_ = setup->writeTotalTimeoutMultiplier;
    writeConstant_ = setup->writeTotalTimeoutConstant;
    const std::optional<std::int64_t> read = readTimeout_;
    readTimeout_.reset();
    return SetReadTimeouts(read.value_or(0));
}

bool WindowsSerialLine::Write(const u8* data, std::size_t size) {
    if (!handle_) return false;
    // A write's own time-out (5 ms per byte plus 50 ms) is in COMMTIMEOUTS; one call covers the buffer.
    while (size > 0) {
        DWORD done = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        if (!WriteFile(H(handle_), data, chunk, &done, nullptr) || done == 0) return false;
        data += done;
        size -= done;
    }
    return true;
}

std::size_t WindowsSerialLine::ReadSome(u8* buffer, std::size_t capacity, std::int64_t timeoutMs) {
    if (!SetReadTimeouts(timeoutMs)) return 0;
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 16));
    if (!ReadFile(H(handle_), buffer, want, &got, nullptr)) {
        // The port went away (an adapter unplugged): nothing more will come.
        broken_ = true;
        return 0;
    }
    return got;
}

std::size_t WindowsSerialLine::Read(u8* buffer, std::size_t capacity) {
    if (!handle_ || capacity == 0) return 0;
    if (!pending_.empty()) {
        const std::size_t n = std::min(capacity, pending_.size());
        std::copy_n(pending_.begin(), n, buffer);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    return ReadSome(buffer, capacity, 0);
}

bool WindowsSerialLine::WaitForInput(std::int64_t timeoutMs) {
    if (!handle_) return false;
    if (!pending_.empty()) return true;
    if (broken_) {
        // Nothing will arrive; wait out the time rather than return at once into a caller's loop.
        if (timeoutMs > 0) Sleep(static_cast<DWORD>(timeoutMs));
        return false;
    }
    // The driver holds the read until a byte comes or the time is up; what it reads waits in pending_.
    u8 buffer[4096];
    const std::size_t n = ReadSome(buffer, sizeof buffer, timeoutMs);
    pending_.insert(pending_.end(), buffer, buffer + n);
    return n > 0;
}

void WindowsSerialLine::DiscardInput() {
    pending_.clear();
    if (handle_) PurgeComm(H(handle_), PURGE_RXCLEAR);
}

void WindowsSerialLine::Close() {
    if (!handle_) return;
    CloseHandle(H(handle_));
    handle_ = nullptr;
}

std::unique_ptr<SerialLine> OpenDeviceLine(const std::string& device, int* errorNumber, std::string*) {
    return WindowsSerialLine::Open(device, nullptr, errorNumber);
}

}  // namespace k52
