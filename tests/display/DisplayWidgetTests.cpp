#include <QApplication>

// The widget tests of the board's controls, run as one executable.
int runPolyLedTests(int argc, char** argv);
int runBoardControlsTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    failed += runPolyLedTests(argc, argv);
    failed += runBoardControlsTests(argc, argv);
    return failed;
}
