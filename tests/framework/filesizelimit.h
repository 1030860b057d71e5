#pragma once

// A full disk without privileges: lowers the file size limit (RLIMIT_FSIZE) for one scope, so
// writes past it fail with EFBIG, for root as well. SIGXFSZ is ignored meanwhile, and a child
// started in the scope inherits both (a command-line run against a "full disk").

#include <csignal>
#include <sys/resource.h>

namespace testfiles {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

}  // namespace testfiles
