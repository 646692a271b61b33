// Speed of the collection file: 1000 entries, each with 13 term lines and 20 parameters with their
// bounds, ranges, colours, widths, line types and a long description. "Bytes" builds the whole
// file content, "WriteFile" also writes it to disk with its backup and the replacement in one step,
// "Read" reads the content back into the table.

#include "collection/reader.h"
#include "collection/writer.h"
#include "core/state.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace collection;

collection::Entry sampleEntry(int number) {
    QStringList terms, params, bounds, colours;
    for (int line = 0; line < 13; ++line) {
        const QString name = QString(QChar(u'f' + line));
        terms << name + QStringLiteral("(x)=a%1*sin(b%1*x+c%1)+d*x^2").arg(line);
        colours << name + QStringLiteral(":%1,").arg(255 * line);
    }
    for (int p = 0; p < 20; ++p) {
        params << QStringLiteral("p%1=%2,5 (z0,1)").arg(p).arg(p);
        bounds << QStringLiteral("p%1[-10;10]").arg(p);
    }
    const QString crlf = QStringLiteral("\r\n");
    collection::Entry entry;
    entry.fields[shortField] = QStringLiteral("Eintrag %1 für Übungen").arg(number);
    entry.fields[longField] = QStringLiteral("Eine Schar von Kurven\r\nmit zwanzig Parametern");
    entry.fields[termsField] = terms.join(crlf);
    entry.fields[paramsField] = params.join(crlf);
    entry.fields[boundsField] = bounds.join(crlf);
    entry.fields[rangesField] = QStringLiteral("x[-10;10]\r\nx$[-10;10]\r\ny[-5;5]\r\ny$[-5;5]");
    entry.fields[coloursField] = colours.join(QString());
    entry.fields[widthsField] = QStringLiteral("f:1,g:2,h:1,");
    entry.fields[lineTypesField] = QStringLiteral("f:0,g:1,h:0,");
    entry.fields[attribsField] = QStringLiteral("1 0 1 1 12");
    return entry;
}

struct Sample {
    core::State state;
    Collection collection = emptyCollection(state);
    Sample() {
        for (int i = 0; i < 1000; ++i)
            collection.entries.push_back(sampleEntry(i));
    }
};

void Bytes(benchmark::State& run) {
    Sample sample;
    for (auto _ : run)
        benchmark::DoNotOptimize(collectionBytes(sample.collection, sample.state));
}
BENCHMARK(Bytes)->Unit(benchmark::kMillisecond);

void WriteFile(benchmark::State& run) {
    Sample sample;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sammlung.sam"));
    for (auto _ : run)
        benchmark::DoNotOptimize(writefile(sample.collection, path, sample.state, false));
}
BENCHMARK(WriteFile)->Unit(benchmark::kMillisecond);

void Read(benchmark::State& run) {
    Sample sample;
    const QByteArray bytes = collectionBytes(sample.collection, sample.state);
    run.counters["bytes"] = double(bytes.size());
    for (auto _ : run) {
        Collection read = emptyCollection(sample.state);
        benchmark::DoNotOptimize(readcollection(read, bytes, sample.state));
    }
}
BENCHMARK(Read)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
