// Resets the installer's state and serves a configuration file from memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "installer/core/kw_state.h"

class KwFixture : public ::testing::Test {
 protected:
  using Profile = std::map<std::pair<std::string, std::string>, std::string>;

  void SetUp() override {
    KwResetState();
    KwResetPlatform();
    Current() = this;
    KwPlatform& p = KwPlatformHooks();
    p.read_profile = &ReadProfile;
    p.windows_folder = &WindowsFolder;
    p.read_uninstall_string = &ReadUninstall;
    p.read_display_name = &ReadDisplayName;
  }
  void TearDown() override {
    KwResetPlatform();
    KwResetState();
    Current() = nullptr;
  }

  void Set(const std::string& section, const std::string& key, const std::string& value) {
    profile_[{section, key}] = value;
  }

  // Shift-JIS lead bytes, for the double-byte paths.
  static int ShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  }

  Profile profile_;
  std::string windows_ = "C:\\WINDOWS";
  bool registered_ = false;
  std::string uninstall_string_;
  // The entry's DisplayName, when it has one (the registered product's title).
  bool shown_ = false;
  std::string display_name_;

 private:
  static KwFixture*& Current() {
    static KwFixture* current = nullptr;
    return current;
  }
  static void ReadProfile(const char* section, const char* key, char* out, std::size_t size) {
    auto it = Current()->profile_.find({section, key});
    std::string v = it == Current()->profile_.end() ? "" : it->second;
    std::snprintf(out, size, "%s", v.c_str());
  }
  static int ReadDisplayName(const char*, char* out, std::size_t size) {
    if (!Current()->shown_) return 0;
    std::snprintf(out, size, "%s", Current()->display_name_.c_str());
    return 1;
  }
  static int WindowsFolder(char* out, std::size_t size) {
    std::snprintf(out, size, "%s", Current()->windows_.c_str());
    return 1;
  }
  static int ReadUninstall(const char*, char* out, std::size_t size) {
    if (!Current()->registered_) return 0;
    std::snprintf(out, size, "%s", Current()->uninstall_string_.c_str());
    return 1;
  }
};
