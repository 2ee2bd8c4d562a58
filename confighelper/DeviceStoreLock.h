#pragma once

// Held while the device store's entries are read and changed in more than one step: setting the
// reported category in the low bits of "Category" (read, then add the difference) and a purge's
// choice to delete an entry. One writer at a time across every thread and process of the runtime
// folder, so that two detections never add a difference twice into the port usage count above
// those bits. Without its lock file the store is used unguarded.
class DeviceStoreLock {
  public:
    DeviceStoreLock();
    ~DeviceStoreLock();
    DeviceStoreLock(const DeviceStoreLock&) = delete;
    DeviceStoreLock& operator=(const DeviceStoreLock&) = delete;

  private:
    int file_ = -1;
};
