// SPDX-License-Identifier: MIT
// CInfoFromDrf::GetEnumeration: catalog lookup, type file, enumeration; the type file
// is released whatever happened after it was opened.
#include "defaults/CInfoFromDrf.h"

#include "shared/Formats.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <memory>

namespace {

// Releases the type file when a step fails after the open; that release's own failure
// would only hide the first one, so it is not reported. A handle of 0 is released too:
// the open gave nothing, and the release is the device library's to judge.
class TypeFileRelease
{
public:
    explicit TypeFileRelease(qint32 handle)
        : m_handle(handle)
    {
    }
    ~TypeFileRelease()
    {
        if (m_pending)
            MKorvane::skipOnFailure([this] { DeviceAccess::resourceCatalog().CloseResourceFile(m_handle); });
    }
    TypeFileRelease(const TypeFileRelease &) = delete;
    TypeFileRelease &operator=(const TypeFileRelease &) = delete;

    // Released here rather than by the guard so that a failing release is reported.
    void releaseNow()
    {
        m_pending = false;
        DeviceAccess::resourceCatalog().CloseResourceFile(m_handle);
    }

private:
    qint32 m_handle;
    bool m_pending = true;
};

} // namespace

bool CInfoFromDrf::GetEnumeration(DeviceAccess::EnumCollectionPtr &ColEnumInputTypes, qint32 EnumIndex, qint32 EnumMin,
    qint32 EnumMax, QString &ErrMsg)
{
    QString typeFile, formatFile, languageFile;
    if (!MKorvane::GetDrfFileNames(m_programId, m_scope, typeFile, formatFile, languageFile, ErrMsg))
        return false;

    bool fetched = false;
    MKorvane::tryStep(
        [&] {
            QString path;
            TypeFileRelease release(MKorvane::OpenTypeFile(m_programId, m_scope, path));
            const DeviceAccess::EnumCollectionPtr members
                = DeviceAccess::typeService().GetEnumCollection(m_programId, m_scope, EnumIndex, EnumMin, EnumMax);
            // A copy of our own: the device library may hand the same collection to every caller.
            ColEnumInputTypes = members ? std::make_shared<DeviceAccess::EnumCollection>(*members) : nullptr;
            fetched = true;
            release.releaseNow();
        },
        [&](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });
    return fetched;
}
