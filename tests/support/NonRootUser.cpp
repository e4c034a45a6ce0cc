#include "NonRootUser.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mox::test {

namespace {

// The ids of "nobody", or the number it has on every common system.
void NobodyIds(uid_t* pUid, gid_t* pGid) {
    if (const passwd* pw = ::getpwnam("nobody")) {
        *pUid = pw->pw_uid;
        *pGid = pw->pw_gid;
        return;
    }
    *pUid = 65534;
    *pGid = 65534;
}

} // namespace

NonRootUser::NonRootUser() {
    if (::geteuid() != 0) {
        m_bOk = true;
        return;
    }
    const int count = ::getgroups(0, nullptr);
    if (count < 0)
        return;
    m_Groups.resize(static_cast<std::size_t>(count));
    if (::getgroups(count, m_Groups.data()) != count)
        return;
    uid_t uid = 0;
    gid_t gid = 0;
    NobodyIds(&uid, &gid);
    // Groups and group first: once the user is not root it may not change them.
    if (::setgroups(0, nullptr) != 0 || ::setegid(gid) != 0)
        return;
    if (::seteuid(uid) != 0) {
        (void)::setegid(0);
        (void)::setgroups(m_Groups.size(), m_Groups.data());
        return;
    }
    m_bDropped = true;
    m_bOk = true;
}

NonRootUser::~NonRootUser() {
    if (!m_bDropped)
        return;
    // The user first: only root may set the groups back.
    (void)::seteuid(0);
    (void)::setegid(0);
    (void)::setgroups(m_Groups.size(), m_Groups.data());
}

bool NonRootUser::OpenToAll(const std::filesystem::path& dir) {
    return ::chmod(dir.c_str(), 0777) == 0;
}

} // namespace mox::test
