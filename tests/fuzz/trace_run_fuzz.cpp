// Any bytes as a trace, interpreted end to end by the document with the protocol the first
// byte chooses (see FuzzDocument.h): reading the trace, the parser component, the output
// file, the run lines, the shown text and the message list. The sanitizers judge.
#include "FuzzDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    vexa::fuzz::FuzzRun run(data, size);
    if (!run.Interpreted()) return 0;
    // What a user does first with the text: looking up a line of the trace in it.
    vexa::CVexaClientDoc &doc = run.Doc();
    if (!doc.m_TraceLines.empty()) doc.FindDisplayLine(doc.GetTraceLine(doc.m_TraceLines.size() / 2));
    return 0;
}
