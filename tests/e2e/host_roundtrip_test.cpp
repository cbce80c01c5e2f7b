// The module through the reference host, on an order whose lines already carry the full rate: cancelling
// returns the area byte for byte, and accepting returns every row, cell, second line and payload byte as
// the host sent them, plus the reply row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plugin/param_table.h"
#include "plugin/param_table_text.h"
#include "plugin/payload_compression.h"
#include "tests/plugin/order_fixture.h"
#include "tests/register/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace order_fixture;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Compressed(const std::string& bytes) {
    core::MemoryStream src(bytes), dst;
    plugin::CompressStream(src, dst);
    return dst.Bytes();
}

// Lines at the full rate with their sums as the module computes them, and texts that must survive.
std::string FullRateOrder(bool compress) {
    Row a = Article("12,5", "38,90", "19");
    a.cells[kSum] = "486,25";
    a.cells[kText] = "Fliesen \"Wei\xDF\" 30%%";
    a.second = "inkl. Kleber%cund Fugenmasse";
    Row b = Article("6", "44,50", "19", "5");
    b.cells[kSum] = "253,65";
    Row marker = Text("\x81", "Zwischensumme");
    marker.cells[kSum] = "739,90";
    const std::string lines =
        OrderLines({Text("t", "Bad \xC4nderung"), a, b, Text("a", "Alternativ"), marker});
    plugin::ParamTable t;
    for (auto [k, v] : {std::pair{"Netto", "1"},
                        {"DM", "0"},
                        {"CANCOMPRESS", compress ? "1" : "0"},
                        {"CPSTEUERHIGH", "19"},
                        {"CPSTEUERLOW", "7"},
                        {"CalcFileName", "B-17.CAL"},
                        {"Unbekannt", "bleibt"}})
        t.AddRow(plugin::ParamRow{k, std::nullopt, v});
    t.AddRow(plugin::ParamRow{"DATA", compress ? Compressed(lines) : lines, std::nullopt});
    t.AddRow(
        plugin::ParamRow{"RTFFOOT", std::string("{\\rtf1 Fu\\'dfzeile des Auftrags\\par}"), std::nullopt});
    return plugin::ParamTableToText(t);
}

class HostRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        // A module directory of its own, without a footer file: the editor stays empty and the host's
        // footer comes back unchanged.
        fs::path build = std::getenv("VORLUX_BUILD_DIR");
        fs::copy_file(build / "Vorlux.so", module.File("Vorlux.so"));
        calchost = (build / "calchost").string();
    }
    std::string Run(const std::string& order, const char* drive) {
        work.Write("order.txt", order);
        auto r = register_test::RunProgram(calchost, {"--module", module.File("Vorlux.so"), drive, "--out",
                                                      work.File("area.bin"), work.File("order.txt")});
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        std::string area = ReadFile(work.File("area.bin"));
        EXPECT_EQ(area.size(), 1000000u);
        return area;
    }
    testing_support::TempDir module, work;
    std::string calchost;
};

}  // namespace

TEST_F(HostRoundTrip, CancelReturnsTheAreaByteForByte) {
    for (bool compress : {true, false}) {
        const std::string order = FullRateOrder(compress);
        const std::string area = Run(order, "--cancel");
        EXPECT_TRUE(area == order + std::string(1000000 - order.size(), '\0')) << "compress " << compress;
    }
}

TEST_F(HostRoundTrip, AcceptWithoutChangesReturnsEveryByteAndTheReply) {
    for (bool compress : {true, false}) {
        const std::string order = FullRateOrder(compress);
        const std::string area = Run(order, "--accept");
        const std::string text = area.substr(0, area.find('\0'));
        EXPECT_TRUE(text == order + "\"ACTION\",,\"WRITE\",\r\n") << "compress " << compress << "\n" << text;
        EXPECT_EQ(area.find_first_not_of('\0', text.size()), std::string::npos);
    }
}
