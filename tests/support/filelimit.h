#pragma once
#include <csignal>
#include <sys/resource.h>

namespace testutil {

// While it lives, no file of this process can grow past `bytes`: SIGXFSZ is
// ignored, so a write past the limit fails with EFBIG the way a write on a
// full disk fails with ENOSPC. The soft limit and the signal are restored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_active = false;
};

} // namespace testutil
