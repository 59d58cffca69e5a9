#pragma once

#include <linux/capability.h>

namespace velmora::test {

// Root passes every file permission check. While an object of this class
// lives, the capabilities that let it (override of read, write and search
// permissions, acting as any file's owner) are out of the calling thread's
// effective set, so file modes count for root as for anyone; they stay
// permitted and come back when it ends. For any other user it does nothing.
class FileModesApply {
public:
    FileModesApply();
    ~FileModesApply();
    FileModesApply(const FileModesApply&) = delete;
    FileModesApply& operator=(const FileModesApply&) = delete;

    // False only for root when the capabilities could not be dropped.
    bool effective() const;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

}  // namespace velmora::test
