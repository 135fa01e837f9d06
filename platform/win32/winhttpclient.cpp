// HTTPS through WinHTTP: the system's TLS, its certificate store (checks always on) and
// its proxy settings. winhttp.dll is loaded when the first request is made, so a
// program that never asks anything loads nothing for it.
//
// The requests run in WinHTTP's asynchronous mode, and the worker waits for each step
// in short slices: a blocking call cannot be ended from outside everywhere (Wine's
// waits for the answer neither time out nor end when the handle is closed), while this
// wait sees its owner's cancel and its own time limit within a moment, closes the
// request and returns.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "platform/https.h"
#include "platform/win32/widetext.h"
#include "platform/workerowner.h"

namespace {

// The calls the adapter makes, found in winhttp.dll at the first request.
struct WinHttpApi {
    bool loaded = false;
    decltype(&WinHttpOpen) open = nullptr;
    decltype(&WinHttpCrackUrl) crackUrl = nullptr;
    decltype(&WinHttpConnect) connect = nullptr;
    decltype(&WinHttpOpenRequest) openRequest = nullptr;
    decltype(&WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&WinHttpSetOption) setOption = nullptr;
    decltype(&WinHttpSetStatusCallback) setStatusCallback = nullptr;
    decltype(&WinHttpAddRequestHeaders) addRequestHeaders = nullptr;
    decltype(&WinHttpSendRequest) sendRequest = nullptr;
    decltype(&WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&WinHttpQueryDataAvailable) queryDataAvailable = nullptr;
    decltype(&WinHttpReadData) readData = nullptr;
    decltype(&WinHttpCloseHandle) closeHandle = nullptr;
    decltype(&WinHttpGetIEProxyConfigForCurrentUser) ieProxyConfig = nullptr;
};

template <class Function>
bool Find(HMODULE module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
}

// Loaded once and kept for the rest of the process.
const WinHttpApi& Api() {
    static const WinHttpApi api = [] {
        WinHttpApi found;
        const HMODULE module = LoadLibraryW(L"winhttp.dll");
        if (!module) return found;
        found.loaded = Find(module, "WinHttpOpen", &found.open) && Find(module, "WinHttpCrackUrl", &found.crackUrl) &&
                       Find(module, "WinHttpConnect", &found.connect) &&
                       Find(module, "WinHttpOpenRequest", &found.openRequest) &&
                       Find(module, "WinHttpSetTimeouts", &found.setTimeouts) &&
                       Find(module, "WinHttpSetOption", &found.setOption) &&
                       Find(module, "WinHttpSetStatusCallback", &found.setStatusCallback) &&
                       Find(module, "WinHttpAddRequestHeaders", &found.addRequestHeaders) &&
                       Find(module, "WinHttpSendRequest", &found.sendRequest) &&
                       Find(module, "WinHttpReceiveResponse", &found.receiveResponse) &&
                       Find(module, "WinHttpQueryHeaders", &found.queryHeaders) &&
                       Find(module, "WinHttpQueryDataAvailable", &found.queryDataAvailable) &&
                       Find(module, "WinHttpReadData", &found.readData) &&
                       Find(module, "WinHttpCloseHandle", &found.closeHandle);
        // Only consulted where the system has no automatic proxy mode.
        Find(module, "WinHttpGetIEProxyConfigForCurrentUser", &found.ieProxyConfig);
        return found;
    }();
    return api;
}

// A session or connection handle, closed once when it goes.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) Api().closeHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle_; }

private:
    HINTERNET handle_;
};

// What WinHTTP's callbacks tell the waiting worker. It belongs to both: the worker lets
// go when it returns, WinHTTP when it has closed the request (HANDLE_CLOSING), which
// may be later, so a step still running then writes into memory that is still there.
struct Progress {
    std::atomic<int> holders{2};
    HANDLE signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::mutex mutex;
    DWORD step = 0;  // the last completion, 0 while a step runs
    DWORD error = 0; // of a failed step
    DWORD bytes = 0; // available, or read
    std::vector<char> buffer;

    void Complete(DWORD completed, DWORD failure, DWORD count) {
        {
            std::lock_guard<std::mutex> hold(mutex);
            step = completed;
            error = failure;
            bytes = count;
        }
        SetEvent(signal);
    }
    void Release() {
        if (--holders == 0) {
            CloseHandle(signal);
            delete this;
        }
    }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length) {
    auto* progress = reinterpret_cast<Progress*>(context);
    if (!progress) return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        progress->Complete(status, 0, 0);
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        progress->Complete(status, 0, *static_cast<DWORD*>(information));
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        progress->Complete(status, 0, length);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        progress->Complete(status, static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError, 0);
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        progress->Release();
        break;
    default:
        break;
    }
}

HttpsOutcome FailureOf(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return HttpsOutcome::SecureConnectionRefused;
    case ERROR_WINHTTP_TIMEOUT:
        return HttpsOutcome::TimedOut;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return HttpsOutcome::Unreachable;
    case ERROR_WINHTTP_OPERATION_CANCELLED:
        return HttpsOutcome::Cancelled;
    default:
        return HttpsOutcome::Failed;
    }
}

// One request on the worker's thread: each step is started, then waited for.
class AsyncRequest : public WorkerWait {
public:
    AsyncRequest(HINTERNET handle, int timeLimitMs)
        : handle_(handle), deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs)) {
        progress_ = new Progress;
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(progress_);
        Api().setOption(handle_, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
        const DWORD wanted = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES;
        if (Api().setStatusCallback(handle_, OnStatus, wanted, 0) == WINHTTP_INVALID_STATUS_CALLBACK) {
            // No callback will ever say the handle is closing.
            progress_->holders = 1;
            failed_ = true;
        }
        WatchWorkerWait(this);
    }
    ~AsyncRequest() {
        ForgetWorkerWait(this);
        Close();
        progress_->Release();
    }
    AsyncRequest(const AsyncRequest&) = delete;
    AsyncRequest& operator=(const AsyncRequest&) = delete;

    HINTERNET Handle() const { return handle_; }
    bool Usable() const { return !failed_; }
    Progress& State() { return *progress_; }

    // Called by the owner's cancel: the request ends, and the wait wakes at once.
    void CancelWait() override {
        cancelled_ = true;
        Close();
        SetEvent(progress_->signal);
    }

    // Waits for the step started last to complete with the given status; anything
    // else ends the request with the outcome it stands for.
    HttpsOutcome Await(DWORD completion, DWORD* error) {
        for (;;) {
            if (cancelled_ || WorkerCancelled()) return HttpsOutcome::Cancelled;
            {
                std::lock_guard<std::mutex> hold(progress_->mutex);
                if (progress_->step == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR) {
                    *error = progress_->error;
                    return FailureOf(progress_->error);
                }
                if (progress_->step == completion) {
                    progress_->step = 0;
                    return HttpsOutcome::Answered;
                }
            }
            if (std::chrono::steady_clock::now() >= deadline_) return HttpsOutcome::TimedOut;
            // Without its event the wait still looks again every slice.
            if (WaitForSingleObject(progress_->signal, 50) == WAIT_FAILED) Sleep(50);
        }
    }

private:
    void Close() {
        std::lock_guard<std::mutex> hold(closeMutex_);
        if (!closed_) Api().closeHandle(handle_);
        closed_ = true;
    }

    HINTERNET handle_;
    std::chrono::steady_clock::time_point deadline_;
    Progress* progress_ = nullptr;
    std::mutex closeMutex_;
    bool closed_ = false;
    bool failed_ = false;
    std::atomic<bool> cancelled_{false};
};

// The session, with the system's proxy: its automatic mode where the system has one
// (Windows 8.1 on), else the user's own fixed proxy when set, else WinHTTP's setting.
HINTERNET OpenSession() {
    const WinHttpApi& api = Api();
    if (HINTERNET session = api.open(nullptr, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC)) {
        return session;
    }
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG user = {};
    if (api.ieProxyConfig && api.ieProxyConfig(&user)) {
        HINTERNET session = nullptr;
        if (user.lpszProxy) {
            session = api.open(nullptr, WINHTTP_ACCESS_TYPE_NAMED_PROXY, user.lpszProxy,
                               user.lpszProxyBypass ? user.lpszProxyBypass : WINHTTP_NO_PROXY_BYPASS,
                               WINHTTP_FLAG_ASYNC);
        }
        if (user.lpszAutoConfigUrl) GlobalFree(user.lpszAutoConfigUrl);
        if (user.lpszProxy) GlobalFree(user.lpszProxy);
        if (user.lpszProxyBypass) GlobalFree(user.lpszProxyBypass);
        if (session) return session;
    }
    return api.open(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                    WINHTTP_FLAG_ASYNC);
}

HttpsOutcome Failure(HttpsReply* reply) {
    reply->error = GetLastError();
    return FailureOf(reply->error);
}

HttpsOutcome Exchange(AsyncRequest& request, const HttpsRequest& wanted, HttpsReply* reply) {
    const WinHttpApi& api = Api();
    const HINTERNET handle = request.Handle();
    std::wstring headers;
    for (const std::string& header : wanted.headers) headers += Utf8ToWide(header) + L"\r\n";
    if (!headers.empty() && !api.addRequestHeaders(handle, headers.c_str(), static_cast<DWORD>(-1),
                                                   WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
        return Failure(reply);
    }
    if (!api.sendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return Failure(reply);
    }
    HttpsOutcome step = request.Await(WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE, &reply->error);
    if (step != HttpsOutcome::Answered) return step;
    if (!api.receiveResponse(handle, nullptr)) return Failure(reply);
    step = request.Await(WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE, &reply->error);
    if (step != HttpsOutcome::Answered) return step;

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!api.queryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                          &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        return Failure(reply);
    }
    reply->status = static_cast<int>(status);

    Progress& progress = request.State();
    for (;;) {
        if (!api.queryDataAvailable(handle, nullptr)) return Failure(reply);
        step = request.Await(WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE, &reply->error);
        if (step != HttpsOutcome::Answered) return step;
        const DWORD available = progress.bytes;
        if (available == 0) return HttpsOutcome::Answered;
        if (reply->body.size() + available > wanted.bodyLimit) return HttpsOutcome::TooLarge;
        // The buffer is the progress record's: it outlives a read that is cancelled.
        progress.buffer.resize(available);
        if (!api.readData(handle, progress.buffer.data(), available, nullptr)) return Failure(reply);
        step = request.Await(WINHTTP_CALLBACK_STATUS_READ_COMPLETE, &reply->error);
        if (step != HttpsOutcome::Answered) return step;
        reply->body.append(progress.buffer.data(), progress.bytes);
    }
}

class WinHttpClient : public HttpsClient {
public:
    HttpsOutcome Get(const HttpsRequest& wanted, HttpsReply* reply) override {
        *reply = HttpsReply{};
        if (WorkerCancelled()) return HttpsOutcome::Cancelled;
        const WinHttpApi& api = Api();
        if (!api.loaded) return HttpsOutcome::Unavailable;

        const std::wstring url = Utf8ToWide(wanted.url);
        URL_COMPONENTS parts = {};
        parts.dwStructSize = sizeof parts;
        wchar_t host[256] = {};
        parts.lpszHostName = host;
        parts.dwHostNameLength = ARRAYSIZE(host);
        parts.dwUrlPathLength = static_cast<DWORD>(-1);
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
        if (!api.crackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
            parts.nScheme != INTERNET_SCHEME_HTTPS || !host[0]) {
            return HttpsOutcome::BadAddress;
        }
        std::wstring target(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
        if (parts.lpszExtraInfo) target.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
        if (target.empty()) target = L"/";

        InternetHandle session(OpenSession());
        if (!session.Get()) return Failure(reply);
        const int limit = wanted.timeLimitMs;
        api.setTimeouts(session.Get(), limit, limit, limit, limit);
        InternetHandle connection(api.connect(session.Get(), host, parts.nPort, 0));
        if (!connection.Get()) return Failure(reply);
        const HINTERNET handle = api.openRequest(connection.Get(), L"GET", target.c_str(), nullptr,
                                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                 WINHTTP_FLAG_SECURE);
        if (!handle) return Failure(reply);
        DWORD responseLimit = static_cast<DWORD>(limit);
        api.setOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseLimit, sizeof responseLimit);
        AsyncRequest request(handle, limit);
        if (!request.Usable()) return Failure(reply);
        const HttpsOutcome outcome = Exchange(request, wanted, reply);
        if (outcome != HttpsOutcome::Answered) reply->status = 0;
        return outcome;
    }
};

} // namespace

HttpsClient& DefaultHttpsClient() {
    static WinHttpClient client;
    return client;
}
