#pragma once
// Runs a stretch of a test as a user who is not root. Root may write any
// file whatever its rights, so a test of how the program treats a
// write-protected file means nothing while it runs as root (as it does in
// the build container). While this object lives, a process running as root
// acts with the effective user and group "nobody" and no supplementary
// groups: the kernel then judges every file access as it would for an
// ordinary installer. The real and saved ids stay root, so the destructor
// can take root's rights back. A process that is not root already keeps its
// own user, which is the case under test anyway.
//
// Folders the test writes into must be open to that user (see OpenToAll).

#include <filesystem>
#include <sys/types.h>
#include <vector>

namespace mox::test {

class NonRootUser {
public:
    NonRootUser();
    ~NonRootUser();
    NonRootUser(const NonRootUser&) = delete;
    NonRootUser& operator=(const NonRootUser&) = delete;

    // False when root could not give up its rights: the test must not go on.
    bool Ok() const { return m_bOk; }

    // Lets any user create and replace files in the folder (mode 0777), as
    // an installer's own folder lets them.
    static bool OpenToAll(const std::filesystem::path& dir);

private:
    bool m_bOk = false;
    bool m_bDropped = false;
    std::vector<gid_t> m_Groups;
};

} // namespace mox::test
