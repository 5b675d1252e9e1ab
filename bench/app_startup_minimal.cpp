// The baselines of the start-up benchmark: the smallest Qt Widgets program,
// one window with one button; with --chinese-label, one window with one
// label of Chinese text in the face and size the main window's texts have
// ("宋体" as the program maps it, 13 pixels), so the font's loading is in
// both. With TAVIMO_EXIT_AFTER_FIRST_PAINT=1 it prints the monotonic time of
// its first painted frame and leaves.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {
void ReportFirstFrame() {
  const char* exitAfter = std::getenv("TAVIMO_EXIT_AFTER_FIRST_PAINT");
  if (exitAfter && exitAfter[0] == '1') {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("first frame painted at %lld ns\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    QCoreApplication::exit(0);
  }
}

// A widget that reports its first painted frame.
template <class Widget>
class TReporting : public Widget {
 public:
  using Widget::Widget;

 protected:
  void paintEvent(QPaintEvent* event) override {
    Widget::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    ReportFirstFrame();
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
  if (argc > 1 && std::string_view(argv[1]) == "--chinese-label") {
    auto* label = new TReporting<QLabel>(QString::fromUtf8("计算结果"), &window);
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(13);
    label->setFont(font);
    layout->addWidget(label);
  } else {
    layout->addWidget(new TReporting<QPushButton>("OK", &window));
  }
  window.show();
  return application.exec();
}
