// The print completion without the browser: numbers the job, lets the driver prepare its
// key, creates the temporary PDF (and XML) files in the driver's job folder, writes the job
// record batch by batch, copies the PDF in chunks of 4096 bytes, hands the job off and gives
// the printing slot back. A file or batch that cannot be written (a full disk) is named in
// the record's "JobWriteError", so the driver fails the job with that reason instead of
// finishing what it got. Borrows the driver and the record store; window thread.
#pragma once

#include <string>

#include "print/ByteStream.h"
#include "print/InstanceIdentity.h"
#include "print/JobDriver.h"
#include "print/JobRecordStore.h"
#include "print/PrintingSlot.h"
#include "view/RequestState.h"

namespace korventa {

// What the browser gave for one print.
struct PrintedPage {
    ByteStream* pdf = nullptr;  // null: the print failed, the job gets an empty PDF file
    WString documentTitle;
    WString pageAddress;        // of the document that printed; decides which commands count
};

class PrintJobWriter {
public:
    static constexpr std::size_t kCopyChunk = 4096;

    PrintJobWriter(JobDriver& driver, JobRecordStore& records)
        : driver_(driver), records_(records) {}

    // Empties the request's page commands once a prepared job has written them, and its
    // invoice XML always; the slot is free afterwards whatever became of the job. Returns the
    // job key name of a job handed to the driver, empty when the driver did not prepare one.
    WString OnPdfStreamCompleted(const PrintedPage& page, RequestState& request,
                              InstanceIdentity& identity, PrintingSlot& slot);

private:
    // Each keeps the first fault in `failure` (when it holds none yet) and goes on: the driver
    // still gets the job, to fail it with the reason.
    void writeJob(const WString& jobKey, const PrintedPage& page, RequestState& request);
    void writeCommands(const WString& jobKey, const PrintedPage& page, RequestState& request,
                       std::string& failure);
    void writeInvoiceXml(const WString& jobKey, const WString& folder,
                         const RequestState& request, std::string& failure);
    void writeBatch(const WString& jobKey, const SettingsMap& values, std::string& failure);

    JobDriver& driver_;
    JobRecordStore& records_;
};

}  // namespace korventa
