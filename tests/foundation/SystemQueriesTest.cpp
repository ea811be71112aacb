// The Windows version table over injected records, and the host's real figures.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QNetworkInterface>

#include "foundation/NeighbourServices.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"

namespace sys = platform::system;
using Lib_Systeme::GetOSDisplayString;

namespace {

struct VersionCase {
    sys::OsVersionInfo version;
    uint16_t architecture;
    uint32_t edition;
    int32_t serverR2;
    const char* text;
    int32_t code;
};

class MemoryLabel : public neighbours::Frm_MainServices {
public:
    std::vector<std::string> captions;
    void LabelAffichageMemory_SetCaption(const std::string& text) override { captions.push_back(text); }
};

}  // namespace

TEST(SystemQueries, VersionTable) {
    const VersionCase cases[] = {
        {{6, 2, 9200, 2, "", 0, 1}, 9, 0, 0, "Microsoft Windows 10 , 64-bit  (build 9200)", 10},
        {{6, 2, 9200, 2, "", 0, 1}, 0, 0, 0, "Microsoft Windows 10 , 32-bit  (build 9200)", 10},
        {{6, 2, 9201, 2, "", 0, 1}, 9, 0, 0, "Microsoft Windows 8 , 64-bit  (build 9201)", 8},
        {{6, 3, 9600, 2, "", 0, 1}, 6, 0, 0, "Microsoft Windows 8.1   (build 9600)", 8},
        {{6, 1, 7601, 2, "Service Pack 1", 0, 1},
         9,
         0,
         0,
         "Microsoft Windows 7 Professional, 64-bit Service Pack 1 (build 7601)",
         7},
        {{6, 1, 7600, 2, "", 0x0200, 1},
         0,
         0,
         0,
         "Microsoft Windows 7 Home Edition, 32-bit  (build 7600)",
         7},
        {{6, 0, 6002, 2, "Service Pack 2", 0, 1},
         0,
         3,
         0,
         "Microsoft Windows Vista Home Premium Edition, 32-bit Service Pack 2 (build 6002)",
         6},
        {{6, 0, 6001, 2, "", 0, 3}, 9, 5, 0, "Microsoft Windows Server 2008 , 64-bit  (build 6001)", 6},
        {{5, 2, 3790, 2, "", 0x0080, 3},
         9,
         0,
         1,
         "Microsoft Windows Server 2003 R2, Datacenter x64 Edition  (build 3790)",
         2003},
        {{5, 2, 3790, 2, "", 0x2000, 3},
         0,
         0,
         0,
         "Microsoft Windows Storage Server 2003Standard Edition  (build 3790)",
         2003},
        {{5, 2, 3790, 2, "", 0x2002, 3},
         0,
         0,
         0,
         "Microsoft Windows Server 2003, Enterprise Edition  (build 3790)",
         2003},
        {{5, 2, 3790, 2, "", 0, 1},
         9,
         0,
         0,
         "Microsoft Windows XP Professional x64 Edition  (build 3790)",
         2003},
        {{5, 2, 3790, 2, "", 0x0002, 3},
         6,
         0,
         0,
         "Microsoft Windows Server 2003, Enterprise Edition for Itanium-based Systems  (build 3790)",
         2003},
        {{5, 2, 3790, 2, "", 0x0400, 3},
         0,
         0,
         0,
         "Microsoft Windows Server 2003, Web Edition  (build 3790)",
         2003},
        {{5, 1, 2600, 2, "Service Pack 3", 0, 1},
         9,
         0,
         0,
         "Microsoft Windows XP Professional Service Pack 3 (build 2600)",
         5},
        {{5, 0, 2195, 2, "", 0x0080, 3},
         0,
         0,
         0,
         "Microsoft Windows 2000 Datacenter Server  (build 2195)",
         2000},
        {{5, 0, 2195, 2, "", 0, 1}, 0, 0, 0, "Microsoft Windows 2000 Professional  (build 2195)", 2000},
    };
    for (const auto& c : cases) {
        PbLVersionOS = -1;
        PbBWindows64Bits = false;
        sys::setOsStandIn({false, c.version, c.architecture, c.edition, c.serverR2});
        EXPECT_EQ(GetOSDisplayString(), c.text) << c.text;
        EXPECT_EQ(PbLVersionOS, c.code) << c.text;
        const bool sixtyFour = c.version.majorVersion >= 6 && c.architecture == 9;
        EXPECT_EQ(PbBWindows64Bits, sixtyFour) << c.text;
    }
}

TEST(SystemQueries, UnknownVersionsKeepTheCode) {
    PbLVersionOS = 7;
    sys::setOsStandIn({false, {6, 4, 9841, 2, "SP", 0, 1}, 9, 0, 0});
    EXPECT_EQ(GetOSDisplayString(), "Microsoft  SP (build 9841)");
    EXPECT_EQ(PbLVersionOS, 7);
    for (const sys::OsStandIn& standIn :
         {sys::OsStandIn{false, {4, 0, 1381, 2, "", 0, 1}, 0, 0, 0},
          sys::OsStandIn{false, {4, 10, 1998, 1, "", 0, 1}, 0, 0, 0}, sys::OsStandIn{true}}) {
        sys::setOsStandIn(standIn);
        EXPECT_EQ(GetOSDisplayString(), "");
        EXPECT_EQ(PbLVersionOS, 7);
    }
    sys::resetOsStandIn();
    EXPECT_EQ(GetOSDisplayString(), "Microsoft Windows 10 , 64-bit  (build 9200)");
}

TEST(SystemQueries, HostAddressIsNeverLoopbackWhenTheHostHasAnother) {
    std::vector<std::string> others;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            others.push_back(a.toString().toStdString());
    const std::string address = Lib_Systeme::GetHostName();
    if (others.empty()) GTEST_SKIP() << "no address but loopback on this host";
    EXPECT_NE(std::find(others.begin(), others.end(), address), others.end()) << address;
}

TEST(SystemQueries, NamesAndFolders) {
    EXPECT_FALSE(Lib_Systeme::ComputerName().empty());
    EXPECT_EQ(Lib_Systeme::ComputerName().find('.'), std::string::npos);
    EXPECT_EQ(Lib_Systeme::GetWinDir(), "C:\\Windows");
    EXPECT_EQ(Lib_Systeme::GetWinSysDir(), "C:\\Windows\\system32");
    EXPECT_EQ(Lib_Systeme::GetSpecialFolderLocation(38), "C:\\Program Files");
    EXPECT_EQ(Lib_Systeme::GetSpecialFolderLocation(9999), "");
}

TEST(SystemQueries, MemoryInMegabytesHalvesToEven) {
    EXPECT_GT(Lib_Systeme::GetMemoryUsage(), 0);  // the real resident figure
    const struct {
        uint64_t bytes;
        int32_t mb;
    } cases[] = {{1572864, 2},
                 {2621440, 2},
                 {150 * 1048576ull + 524288, 150},
                 {151 * 1048576ull + 524288, 152},
                 {151 * 1048576ull + 524289, 152},
                 {0, 0}};
    for (const auto& c : cases) {
        sys::setResidentMemory(c.bytes);
        EXPECT_EQ(Lib_Systeme::GetMemoryUsage(), c.mb) << c.bytes;
    }
}

TEST(SystemQueries, TimerProcShowsOnlyAChangedFigure) {
    MemoryLabel label;
    neighbours::registerFrm_Main(&label);
    sys::setResidentMemory(1025ull * 1048576);
    Lib_Public::TimerProc();
    Lib_Public::TimerProc();
    EXPECT_EQ(PbLMemoryUsageMo, 1025);
    sys::setResidentMemory(1100ull * 1048576);
    Lib_Public::TimerProc();
    EXPECT_EQ(label.captions, (std::vector<std::string>{"1025", "1100"}));
    neighbours::registerFrm_Main(nullptr);
}

TEST(SystemQueries, ShareLists) {
    std::vector<Lib_Systeme::ShareInfo> shares{{"kept", 0, "x"}};
    EXPECT_EQ(Lib_Systeme::GetShareList(shares, ""), 0);  // an empty table leaves the array
    EXPECT_EQ(shares.size(), 1u);

    sys::setShares({{"Audio", 0, "D:\\Audio"}, {"Data", 0, "D:\\Data"}, {"IPC$", 3, ""}});
    EXPECT_EQ(Lib_Systeme::GetShareList(shares, ""), 3);
    EXPECT_EQ(shares[0].path, "D:\\Audio");
    sys::setShares({{"Audio", 0, "D:\\Audio"}, {"Data", 0, "D:\\Data"}, {"IPC$", 3, ""}}, true);
    EXPECT_EQ(Lib_Systeme::GetShareList(shares, ""), -3);
    EXPECT_EQ(shares[1].path, "");
    EXPECT_EQ(Lib_Systeme::GetShareList(shares, "\\\\NOSUCHHOST"), 0);
    EXPECT_EQ(shares.size(), 3u);

    PbTInfoVersionOS.platformId = 1;
    EXPECT_EQ(Lib_Systeme::GetLocalShareList(shares, ""), 0);
    PbTInfoVersionOS.platformId = 2;
    EXPECT_EQ(Lib_Systeme::GetLocalShareList(shares, ""), -3);
}
