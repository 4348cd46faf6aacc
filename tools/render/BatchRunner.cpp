#include "BatchRunner.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

std::vector<FileRecord> runBatch(const std::vector<std::string>& inputs, int threads,
                                 const std::function<void(FileRecord&)>& job,
                                 const std::function<void(const FileRecord&, std::size_t)>& done) {
  std::vector<FileRecord> records(inputs.size());
  std::atomic<std::size_t> next{0};
  std::mutex doneMutex;
  std::size_t completed = 0;
  auto work = [&] {
    for (std::size_t i = next++; i < inputs.size(); i = next++) {
      const auto started = std::chrono::steady_clock::now();
      FileRecord record;
      record.input = inputs[i];
      try {
        job(record);
      } catch (const std::exception& e) {
        record.error = e.what();
      }
      record.seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      const std::lock_guard<std::mutex> lock(doneMutex);
      records[i] = std::move(record);
      done(records[i], ++completed);
    }
  };
  const auto count = static_cast<std::size_t>(std::max(1, threads));
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < std::min(count, inputs.size()); ++t) {
    pool.emplace_back(work);
  }
  work();
  for (auto& thread : pool) {
    thread.join();
  }
  return records;
}

void runOnFreshThread(const std::function<void()>& fn) {
  std::exception_ptr failure;
  std::thread([&] {
    try {
      fn();
    } catch (...) {
      failure = std::current_exception();
    }
  }).join();
  if (failure) {
    std::rethrow_exception(failure);
  }
}
