// The baseline of the start-up benchmark: the smallest Qt Widgets program,
// one window with one button. With TAVIMO_EXIT_AFTER_FIRST_PAINT=1 it prints
// the monotonic time of its first painted frame and leaves.

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
class TButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPushButton::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    const char* exitAfter = std::getenv("TAVIMO_EXIT_AFTER_FIRST_PAINT");
    if (exitAfter && exitAfter[0] == '1') {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      std::printf("first frame painted at %lld ns\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
      std::fflush(stdout);
      QCoreApplication::exit(0);
    }
  }

 private:
  bool painted_ = false;
};
}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("minimal");
  window.resize(597, 504);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new TButton("OK", &window));
  window.show();
  return application.exec();
}
