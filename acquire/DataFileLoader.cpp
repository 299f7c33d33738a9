#include "DataFileLoader.h"

#include "ForcePrompt.h"
#include "MeasureLists.h"
#include "Myfile.h"
#include "RunData.h"
#include "WindowTexts.h"

bool DataFileLoader::Load(const QString& path, RunData& run, WindowTexts& texts)
{
    ForcePrompt neverAsked(false);
    TmyFile file(neverAsked);
    // The file fills a scratch record; only a file that is shown replaces the run's.
    MeasureSettings loaded;
    if (file.LoadFile(path, &loaded, &run.Ch0Data, &run.Ch1Data) && IsShowableRun(loaded, run.Ch0Data, run.Ch1Data)) {
        run.Settings = loaded;
        run.Settings.GainDivisor = 1;
        return true;
    }
    run.Clear();
    texts.SetSubject(path);
    texts.Messages().MsgFileError();
    texts.SetSubject(QString());
    return false;
}
