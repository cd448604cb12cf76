// Conditions a test puts the host in, each undone when its object goes: a folder root may not
// write to, an ordinary user, a full disk, a port another program holds. They change the calling
// thread or this process only; ok() is false where not allowed.
#pragma once

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>

#include "tests/support/sim_process.h"

namespace korvane::testing {

// This thread without CAP_DAC_OVERRIDE: root then obeys permission bits as any user does.
class WithoutDacOverride {
 public:
  WithoutDacOverride() {
    __user_cap_data_struct reduced[2];
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    std::copy(saved_, saved_ + 2, reduced);
    reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    ok_ = ::syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutDacOverride() {
    if (ok_) ::syscall(SYS_capset, &header_, saved_);
  }
  bool ok() const { return ok_; }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool ok_ = false;
};

// This thread as uid 65534. The raw system call changes the calling thread only (the C library's
// changes every thread); the saved user ID stays 0, so root comes back.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser() : ok_(::syscall(SYS_setresuid, -1, 65534, -1) == 0) {}
  ~AsOrdinaryUser() {
    if (ok_) ::syscall(SYS_setresuid, -1, 0, -1);
  }
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// A tmpfs of `size` over the folder, in a mount namespace of this process's own.
class SmallDisk {
 public:
  SmallDisk(const std::filesystem::path& where, const std::string& size) : where_(where) {
    static const bool own = ::unshare(CLONE_NEWNS) == 0 &&
                            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    ok_ = own && ::mount("tmpfs", where.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
  }
  ~SmallDisk() {
    if (ok_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  bool ok() const { return ok_; }
  bool fill() {  // with the file "filler"; true once it is full
    const int fd = ::open((where_ / "filler").c_str(), O_WRONLY | O_CREAT, 0644);
    while (::write(fd, "ffffffffffffffff", 16) > 0) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
  }

 private:
  std::filesystem::path where_;
  bool ok_ = false;
};

// A port held by another program for as long as this lives. Qt's serial port takes a lock file
// for the device path ("LCK.." and the path with "/" turned into "_"), which a killed holder
// leaves behind: it goes with the holder.
class PortHolder {
 public:
  PortHolder(std::vector<std::string> argv, std::string device)
      : program_(std::move(argv)), lock_("LCK.." + device) {
    std::replace(lock_.begin() + 5, lock_.end(), '/', '_');
  }
  ~PortHolder() {
    program_.stop(std::chrono::milliseconds{0});
    std::error_code ec;
    for (const char* folder : {"/var/lock/", "/tmp/"}) std::filesystem::remove(folder + lock_, ec);
  }

 private:
  Child program_;
  std::string lock_;
};

}  // namespace korvane::testing
