// The peer for whole-process timing of the batch tool: the same file in, one operation,
// BMP out, written with OpenCV. Built only where OpenCV is installed; never part of the program.
//   opencv_peer INPUT OUTPUT invert|blur|resize
#include <cstdio>
#include <cstring>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: opencv_peer INPUT OUTPUT invert|blur|resize\n");
        return 1;
    }
    cv::Mat in = cv::imread(argv[1], cv::IMREAD_COLOR);
    if (in.empty()) return 2;
    cv::Mat out;
    if (!std::strcmp(argv[3], "invert"))
        cv::bitwise_not(in, out);
    else if (!std::strcmp(argv[3], "blur"))
        cv::blur(in, out, cv::Size(3, 3));
    else
        cv::resize(in, out, cv::Size(in.cols / 4, in.rows / 4), 0, 0, cv::INTER_AREA);
    return cv::imwrite(argv[2], out) ? 0 : 3;
}
