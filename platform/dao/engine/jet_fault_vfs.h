// For tests: an SQLite file layer over the real one that fails writes on demand, as a full
// disk or a failing disk would. Installed as the default layer, it serves every database
// opened after it; armed, every write, sync and truncation after the first `skip` ones
// returns the chosen code until it is disarmed.
#pragma once
#include <sqlite3.h>

namespace jet_fault {

struct State
{
    int code = 0;  // SQLITE_FULL, SQLITE_IOERR_WRITE, ...; 0: disarmed
    int skip = 0;
    int failures = 0;
};

inline State& Faults()
{
    static State state;
    return state;
}

inline void Arm(int code, int skip = 0)
{
    Faults() = State();
    Faults().code = code;
    Faults().skip = skip;
}

inline void Disarm() { Faults().code = 0; }

namespace detail {

struct File
{
    sqlite3_file base;
    sqlite3_file* real;
};

inline sqlite3_vfs*& RealVfs()
{
    static sqlite3_vfs* real = nullptr;
    return real;
}

inline int Fault()
{
    State& s = Faults();
    if (!s.code)
        return SQLITE_OK;
    if (s.skip > 0) {
        --s.skip;
        return SQLITE_OK;
    }
    ++s.failures;
    return s.code;
}

inline sqlite3_file* Real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real; }

inline int Close(sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); }
inline int Read(sqlite3_file* f, void* p, int n, sqlite3_int64 at)
{
    return Real(f)->pMethods->xRead(Real(f), p, n, at);
}
inline int Write(sqlite3_file* f, const void* p, int n, sqlite3_int64 at)
{
    const int rc = Fault();
    return rc ? rc : Real(f)->pMethods->xWrite(Real(f), p, n, at);
}
inline int Truncate(sqlite3_file* f, sqlite3_int64 size)
{
    const int rc = Fault();
    return rc ? rc : Real(f)->pMethods->xTruncate(Real(f), size);
}
inline int Sync(sqlite3_file* f, int flags)
{
    const int rc = Fault();
    return rc ? (rc == SQLITE_FULL ? SQLITE_FULL : SQLITE_IOERR_FSYNC)
              : Real(f)->pMethods->xSync(Real(f), flags);
}
inline int FileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return Real(f)->pMethods->xFileSize(Real(f), size);
}
inline int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
inline int Unlock(sqlite3_file* f, int level)
{
    return Real(f)->pMethods->xUnlock(Real(f), level);
}
inline int CheckReservedLock(sqlite3_file* f, int* out)
{
    return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
inline int FileControl(sqlite3_file* f, int op, void* arg)
{
    return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
inline int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
inline int DeviceCharacteristics(sqlite3_file* f)
{
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

inline const sqlite3_io_methods* Methods()
{
    static sqlite3_io_methods methods = {1,     Close,    Read,   Write,  Truncate,
                                         Sync,  FileSize, Lock,   Unlock, CheckReservedLock,
                                         FileControl, SectorSize, DeviceCharacteristics};
    return &methods;
}

inline int Open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    File* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->base.pMethods = nullptr;
    const int rc = RealVfs()->xOpen(RealVfs(), name, file->real, flags, outFlags);
    if (file->real->pMethods)
        file->base.pMethods = Methods();
    return rc;
}

}  // namespace detail

// Makes the failing layer the default one (once; later calls do nothing).
inline void Install()
{
    static sqlite3_vfs vfs;
    if (detail::RealVfs())
        return;
    sqlite3_initialize();
    detail::RealVfs() = sqlite3_vfs_find(nullptr);
    vfs = *detail::RealVfs();
    vfs.iVersion = vfs.iVersion < 2 ? vfs.iVersion : 2;
    vfs.szOsFile = int(sizeof(detail::File)) + detail::RealVfs()->szOsFile;
    vfs.zName = "quorvel-fault";
    vfs.pNext = nullptr;
    vfs.xOpen = detail::Open;
    sqlite3_vfs_register(&vfs, 1);
}

}  // namespace jet_fault
