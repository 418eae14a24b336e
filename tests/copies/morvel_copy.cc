// One copy of either program as a process of its own, for the tests of several copies
// on one database. The alias comes from MORVEL_ALIAS_CONFIG; the window runs headless.
//
//   morvel_copy run ROUNDS [monthly]  presses "&R실행" ROUNDS times in the daily (or the
//                                     monthly) window; prints one line per round:
//                                     "rows <count> <digest>", "refused" or "error <message>"
//   morvel_copy hang                  starts a daily run and stops halfway through its
//                                     preparation: prints "preparing" and waits to be
//                                     killed (at most 60 s)
//   morvel_copy hold SECONDS          takes the database guard, prints "held", keeps it
//   morvel_copy idle SECONDS          opens the daily window (its start-up reads the
//                                     database), prints "open" or "error <message>",
//                                     and keeps the window open; on SIGUSR1 it presses
//                                     "&R실행" once, prints the line as "run" does and ends
//   morvel_copy start-close [monthly] starts the daily (or the monthly) program as its
//                                     main does, prints "started", and half a second
//                                     later "closing" and clicks "&X 종료"; the program
//                                     then ends as it ends for a user
//
// MORVEL_COPY_CONNECT_WAIT_MS, when set, shortens how long opening a connection may take.
#include <QApplication>
#include <QTimer>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "summary_window.h"
#include "engine/database_guard.h"
#include "engine/driver.h"
#include "engine/trace.h"

namespace {

// Statements into the preparation after which "hang" stops: the heading rows are in.
constexpr int kHangAfterStatements = 200;

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int runRounds(int rounds, copies::Program program) {
    copies::SummaryWindow window(program);
    for (int round = 0; round < rounds; ++round) say(window.run());
    return 0;
}

int hangInPreparation() {
    copies::SummaryWindow window;
    int statements = 0;
    engine::setTraceSink([&](const engine::TraceEntry&) {
        if (++statements < kHangAfterStatements) return;
        say("preparing");
        std::this_thread::sleep_for(std::chrono::seconds(60));
        std::_Exit(4);
    });
    say(window.run());  // not reached unless the run failed before the preparation
    return 5;
}

int startAndClose(copies::Program program) {
    forms::Application application(program == copies::Program::Daily ? "DAY_MORVEL" : "MONTH_MORVEL");
    engine::setLoginHandler([](engine::LoginRequest&) { return true; });
    forms::setMessageResponder([](const forms::ShownMessage& box) { say("box " + box.text); });
    mainform::SummaryMainForm* window = nullptr;
    if (program == copies::Program::Daily) {
        window = application.createForm(fmDay_Morvel_Form);
        application.createForm(qrfmDay_Morvel_Form);
        application.createForm(fmDAY_MORVEL_CODE_Update_Form);
    } else {
        window = application.createForm(fmMonth_Morvel_Form);
        application.createForm(qrfmMonth_Morvel_Form);
        application.createForm(fmMONTH_MORVEL_CODE_Update_Form);
    }
    say("started");
    QTimer::singleShot(500, [window] {
        say("closing");
        window->CloseBtn->click();
    });
    return application.run();
}

int holdGuard(int seconds) {
    engine::setLoginHandler([](engine::LoginRequest&) { return true; });
    engine::DatabaseGuard guard;
    say("held");
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return 0;
}

int stayIdle(int seconds, const sigset_t& proceed) {
    copies::SummaryWindow window;
    say(window.boxes.empty() ? "open" : "error " + window.boxes.front().text);
    const timespec wait{seconds, 0};
    if (::sigtimedwait(&proceed, nullptr, &wait) == SIGUSR1) say(window.run());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // SIGUSR1 is taken by sigtimedwait only: blocked before any thread starts.
    sigset_t proceed;
    sigemptyset(&proceed);
    sigaddset(&proceed, SIGUSR1);
    ::pthread_sigmask(SIG_BLOCK, &proceed, nullptr);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    if (const char* wait = std::getenv("MORVEL_COPY_CONNECT_WAIT_MS"))
        engine::setConnectWait(std::chrono::milliseconds(std::atoi(wait)));
    const std::string mode = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 1;
    try {
        if (mode == "run")
            return runRounds(count, argc > 3 && std::string(argv[3]) == "monthly" ? copies::Program::Monthly
                                                                                 : copies::Program::Daily);
        if (mode == "hang") return hangInPreparation();
        if (mode == "hold") return holdGuard(count);
        if (mode == "idle") return stayIdle(count, proceed);
        if (mode == "start-close")
            return startAndClose(argc > 2 && std::string(argv[2]) == "monthly" ? copies::Program::Monthly
                                                                               : copies::Program::Daily);
    } catch (const std::exception& error) {
        say(std::string("error ") + error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: morvel_copy run ROUNDS [monthly] | hang | hold SECONDS | idle SECONDS | start-close [monthly]\n");
    return 2;
}
