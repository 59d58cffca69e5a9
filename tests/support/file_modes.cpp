#include "support/file_modes.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>

namespace velmora::test {

FileModesApply::FileModesApply() {
    if (geteuid() != 0) return;
    if (syscall(SYS_capget, &m_header, m_saved) != 0) return;
    __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        reduced[cap / 32].effective &= ~(1u << (cap % 32));
    m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
}

FileModesApply::~FileModesApply() {
    if (m_dropped) syscall(SYS_capset, &m_header, m_saved);
}

bool FileModesApply::effective() const { return geteuid() != 0 || m_dropped; }

}  // namespace velmora::test
