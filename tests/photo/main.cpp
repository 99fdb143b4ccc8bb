// The photo window is tested on a real X server: its see-through region, the
// screen copy and the clipboard need one. Each run starts its own Xvfb.
#include "support/EigenerXServer.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace varnek::test
{
void setzeXServer(EigenerXServer *server);
}

int main(int argc, char **argv)
{
    bool nurListe = false;
    for (int i = 1; i < argc; ++i)
        nurListe = nurListe || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    std::unique_ptr<varnek::test::EigenerXServer> x;
    if (!nurListe) {
        x = std::make_unique<varnek::test::EigenerXServer>();
        if (x->laeuft()) {
            qputenv("DISPLAY", x->display().toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "xcb");
            varnek::test::setzeXServer(x.get());
        } else {
            std::fprintf(stderr, "No X server for the photo tests: %s\n", qPrintable(x->fehler()));
        }
    }
    if (!varnek::test::xServer())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No desktop session around the private server.
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int ergebnis = RUN_ALL_TESTS();
    varnek::test::setzeXServer(nullptr);
    return ergebnis;
}
