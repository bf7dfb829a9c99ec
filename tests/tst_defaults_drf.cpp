// SPDX-License-Identifier: MIT
// CInfoFromDrf against the simulated network: the enumerations it hands out, the type
// file released on every way out, and what a failure at each device call leaves behind.
#include "defaults/CInfoFromDrf.h"
#include "shared/Enumerations.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"
#include "support/TableRow.h"

#include <QHash>
#include <QTest>

using namespace DeviceAccess;
using TestSupport::row;

namespace {

const QString Injected = QStringLiteral("Injected failure");

QStringList names(const EnumCollectionPtr &members)
{
    QStringList result;
    if (members) {
        for (const EnumMemberPtr &member : *members)
            result << member->Name() + QLatin1Char('=') + QString::number(member->Index());
    }
    return result;
}

// A device library that hands every caller the same collection for the same request,
// as a caching library may: the sim's services, with the enumerations kept.
class SharingLibrary : public Implementation, public TypeService, public std::enable_shared_from_this<SharingLibrary>
{
public:
    explicit SharingLibrary(std::shared_ptr<Implementation> inner)
        : m_inner(std::move(inner))
        , m_types(m_inner->createTypeService())
    {
    }
    std::shared_ptr<TypeService> createTypeService() override { return shared_from_this(); }
    std::shared_ptr<ResourceCatalog> createResourceCatalog() override { return m_inner->createResourceCatalog(); }
    std::shared_ptr<FormatCatalog> createFormatCatalog() override { return m_inner->createFormatCatalog(); }
    std::shared_ptr<FormatService> createFormatService() override { return m_inner->createFormatService(); }
    std::shared_ptr<LanguageService> createLanguageService() override { return m_inner->createLanguageService(); }
    std::shared_ptr<LanguageFileService> createLanguageFileService() override
    {
        return m_inner->createLanguageFileService();
    }
    qint32 OpenTypeFileHandle(const QString &path) override { return m_types->OpenTypeFileHandle(path); }
    TypeTreeNodePtr GetTreeNode(qint32 handle, const QString &programId, qint32 typeIndex) override
    {
        return m_types->GetTreeNode(handle, programId, typeIndex);
    }
    EnumCollectionPtr GetEnumCollection(
        const QString &programId, qint32 scope, qint32 enumIndex, qint32 lowest, qint32 highest) override
    {
        EnumCollectionPtr &kept = m_kept[enumIndex];
        if (!kept)
            kept = m_types->GetEnumCollection(programId, scope, enumIndex, lowest, highest);
        return kept;
    }

private:
    std::shared_ptr<Implementation> m_inner;
    std::shared_ptr<TypeService> m_types;
    QHash<qint32, EnumCollectionPtr> m_kept;
};

} // namespace

class TestDefaultsDrf : public TestSupport::SimTestCase
{
    Q_OBJECT

protected:
    void prepare() override
    {
        const QString device = sim->firstDeviceName();
        info.setProgramId((*sim)->programId(device));
        info.setScope((*sim)->scope(device));
    }

private:
    bool fetch(EnumCollectionPtr &members, qint32 index, QString &errMsg, qint32 lowest = 0, qint32 highest = 7)
    {
        return info.GetEnumeration(members, index, lowest, highest, errMsg);
    }
    CInfoFromDrf info;

private slots:

    void failureAtEachCall_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("occurrence"); // which call of that operation fails
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("typeFileOpened");

        // Looking the resource set up, then the type file, then the enumeration, then the release.
        row("catalog unavailable", "", 0, false, false, false);
        row("catalog lookup", "ResourceCatalog.GetTypeFilePath", 1, false, false, false);
        row("second catalog open", "ResourceCatalog.OpenCatalog", 2, false, false, false);
        row("type file path", "ResourceCatalog.GetTypeFilePath", 2, false, false, false);
        row("type file open", "TypeService.OpenTypeFileHandle", 1, false, false, false);
        row("enumeration", "TypeService.GetEnumCollection", 1, false, false, true);
        row("enumeration, quiet", "TypeService.GetEnumCollection", 1, true, false, true);
        row("release", "ResourceCatalog.CloseResourceFile", 1, false, true, true);
        row("release, quiet", "ResourceCatalog.CloseResourceFile", 1, true, true, true);
    }

    void failureAtEachCall()
    {
        QFETCH(QString, operation);
        QFETCH(int, occurrence);
        QFETCH(bool, quiet);
        QFETCH(bool, result);
        QFETCH(bool, typeFileOpened);

        // A clean run tells which call from the start is the one to fail.
        EnumCollectionPtr probe;
        QString probeErr;
        QVERIFY(fetch(probe, ENUM_INDEX_SIGNAL_INTERPRET, probeErr));
        const QVector<Sim::CallRecord> calls = (*sim)->callLog();
        int nth = 0;
        for (int i = 0, seen = 0; i < calls.size() && nth == 0; ++i) {
            if (calls.at(i).operation == operation && ++seen == occurrence)
                nth = i + 1;
        }
        QVERIFY2(nth > 0 || operation.isEmpty(), qPrintable(operation));

        (*sim)->clearCallLog();
        const qint32 number = quiet ? DeviceError::QuietNumber5030 : DeviceError::ObjectErrorBase + 7;
        if (nth)
            (*sim)->failCall(nth, number, Injected);
        (*sim)->setCatalogAvailable(nth > 0);
        const auto sentinel = std::make_shared<EnumCollection>();
        EnumCollectionPtr members = sentinel;
        QString errMsg = QStringLiteral("earlier");
        QCOMPARE(fetch(members, ENUM_INDEX_SIGNAL_INTERPRET, errMsg), result);

        QCOMPARE(errMsg, "earlier" + (quiet ? QString() : "\r\n" + (nth ? Injected : "Cannot open DRF catalog!")));
        if (result)
            QCOMPARE(names(members), names(probe));
        else
            QCOMPARE(members, sentinel);

        // A type file that was opened is always handed back.
        if (operation.isEmpty()) // nor is one looked for without the catalog
            QCOMPARE((*sim)->callCount("TypeService.OpenTypeFileHandle"), 0);
        QCOMPARE((*sim)->callCount("ResourceCatalog.CloseResourceFile"), typeFileOpened ? 1 : 0);
        if (operation != "ResourceCatalog.CloseResourceFile")
            QCOMPARE((*sim)->openHandles(), QStringList());
    }

    void membersAndIndependence_data()
    {
        QTest::addColumn<bool>("sharingLibrary");
        QTest::newRow("simulated network") << false;
        QTest::newRow("library that shares its collections") << true;
    }

    // The members within the bounds, in value order; successive calls never share a collection.
    void membersAndIndependence()
    {
        QFETCH(bool, sharingLibrary);
        if (sharingLibrary)
            DeviceAccess::install(std::make_shared<SharingLibrary>((*sim)->implementation()));

        EnumCollectionPtr first, second, third;
        QString errMsg;
        QVERIFY(fetch(first, ENUM_INDEX_SIGNAL_INTERPRET, errMsg, ENUM_SIGNAL_INTERPRET_MIN_INDEX,
            ENUM_SIGNAL_INTERPRET_MAX_INDEX));
        QVERIFY(fetch(second, 18, errMsg, 6, 7));
        QVERIFY(fetch(third, ENUM_INDEX_SIGNAL_INTERPRET, errMsg, ENUM_SIGNAL_INTERPRET_MIN_INDEX,
            ENUM_SIGNAL_INTERPRET_MAX_INDEX));
        QCOMPARE(errMsg, QString());
        const QStringList interpretations { "DISCONNECTED=0", "LINEAR=1", "TRANS_TABLE=2", "DIGITAL=3", "MULTI_LEVEL=4",
            "STD_THERMISTOR=5", "SETPOINT_OFFSET=6" };
        QCOMPARE(names(first), interpretations);
        QCOMPARE(names(second), (QStringList { "SWITCH=6", "OCCUPANCY=7" }));

        QVERIFY(first != third);
        first->Remove(1);
        first->Add(second->Item(1), QStringLiteral("extra"));
        QCOMPARE(names(third), interpretations);
        // One type file per call, each handed back.
        QCOMPARE((*sim)->callCount("TypeService.OpenTypeFileHandle"), 3);
        QCOMPARE((*sim)->callCount("ResourceCatalog.CloseResourceFile"), 3);
        QCOMPARE((*sim)->openHandleCount(), 0);

        // A resource set the catalog does not know has no type file: the open gives 0, and that
        // 0 is handed back all the same, as the type-tree lookup does.
        (*sim)->clearCallLog();
        info.setScope(99);
        fetch(first, ENUM_INDEX_SIGNAL_INTERPRET, errMsg);
        QCOMPARE((*sim)->callCount("TypeService.OpenTypeFileHandle"), 0);
        QCOMPARE((*sim)->callCount("ResourceCatalog.CloseResourceFile"), 1);
        QCOMPARE((*sim)->callLog().last().arguments, QStringList { "0" });
    }
};

QTEST_GUILESS_MAIN(TestDefaultsDrf)
#include "tst_defaults_drf.moc"
