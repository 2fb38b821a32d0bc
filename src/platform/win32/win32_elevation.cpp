#include "platform/win32/win32_elevation.h"

#include <windows.h>

#include <memory>

namespace tarnwell {
namespace {

struct SidFree {
  void operator()(void* sid) const { FreeSid(sid); }
};

}  // namespace

bool Win32Elevation::IsAppElevated() {
  SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
  PSID raw = nullptr;
  if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &raw)) {
    return false;
  }
  std::unique_ptr<void, SidFree> administrators(raw);
  BOOL member = FALSE;
  return CheckTokenMembership(nullptr, administrators.get(), &member) && member;
}

}  // namespace tarnwell
