// Time from start to the window shown, and peak memory, of Veskor against a
// minimal Qt Widgets program built in the same run. Prints medians and ratios.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Sample {
    double ms;
    long peakKiB;
};

Sample measure(const QString &program)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(program, {});
    p.waitForReadyRead(30000);
    const double ms = clock.nsecsElapsed() / 1e6;
    const QByteArray line = p.readLine();
    p.waitForFinished(10000);
    return {ms, line.startsWith("shown ") ? line.mid(6).trimmed().toLong() : 0};
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = 11;
    std::vector<double> veskorMs, minimalMs;
    std::vector<long> veskorKiB, minimalKiB;
    measure(QStringLiteral(VESKOR_PROBE_PATH)); // warm the file cache for both
    measure(QStringLiteral(MINIMAL_PROBE_PATH));
    for (int i = 0; i < runs; ++i) {
        const Sample v = measure(QStringLiteral(VESKOR_PROBE_PATH));
        const Sample m = measure(QStringLiteral(MINIMAL_PROBE_PATH));
        veskorMs.push_back(v.ms);
        veskorKiB.push_back(v.peakKiB);
        minimalMs.push_back(m.ms);
        minimalKiB.push_back(m.peakKiB);
    }
    const double vt = median(veskorMs), mt = median(minimalMs);
    const long vm = median(veskorKiB), mm = median(minimalKiB);
    std::printf("start to window shown (median of %d): Veskor %.1f ms, minimal Qt %.1f ms, ratio %.2f\n", runs, vt, mt,
                vt / mt);
    std::printf("peak resident memory (median):        Veskor %ld KiB, minimal Qt %ld KiB, ratio %.2f\n", vm, mm,
                double(vm) / double(mm));
    return 0;
}
