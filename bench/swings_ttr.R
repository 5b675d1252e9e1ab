# The zigzag of R's TTR package on the highs and lows of a file: the
# comparison baseline of bench/swings_compare.sh. Times the C routine
# ZigZag() calls (.Call("ttr_zigzag", ...), TTR 0.24) alone, after the data
# is read and a garbage collection, RUNS times.
# Usage: Rscript bench/swings_ttr.R FILE CHANGE RUNS   (FILE: N highs, then N lows, as doubles)
args <- commandArgs(trailingOnly = TRUE)
if (length(args) != 3) stop("usage: Rscript swings_ttr.R FILE CHANGE RUNS")
path <- args[1]
change <- as.numeric(args[2])
runs <- as.integer(args[3])
invisible(loadNamespace("TTR"))

count <- file.size(path) / 16
input <- file(path, "rb")
high <- readBin(input, "double", count)
low <- readBin(input, "double", count)
close(input)

seconds <- numeric(runs)
for (run in seq_len(runs)) {
  invisible(gc())
  start <- Sys.time()
  # change in percent, percent = TRUE, retrace = FALSE, lastExtreme = TRUE
  zz <- .Call("ttr_zigzag", high, low, change, TRUE, FALSE, TRUE, PACKAGE = "TTR")
  seconds[run] <- as.numeric(Sys.time()) - as.numeric(start)
}
cat(sprintf("bars %d points %d median %.6f min %.6f max %.6f\n", length(high), sum(!is.na(zz)),
            median(seconds), min(seconds), max(seconds)))
