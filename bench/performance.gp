# The plot of docs/PERFORMANCE.md, drawn by run.sh from the benchmarks' data files:
#   gnuplot -e "data='DIR'; output='FILE.png'" bench/performance.gp
set terminal pngcairo size 1400,560 font "DejaVu Sans,11" noenhanced
set output output
set multiplot layout 1,2

set title "History text box: cost of one more line, by lines already in the box"
set xlabel "lines in the text box"
set ylabel "µs per line (slices of 1,000 lines, median of runs)"
set format x "%.0s%c"
set xrange [0:*]
set yrange [0:*]
set key below
set grid
plot data."/text_box.dat" using 1:2 with linespoints pointtype 7 pointsize 0.4 title "window shown (painted per line)", \
     data."/text_box.dat" using 1:3 with linespoints pointtype 5 pointsize 0.4 title "window hidden (no painting)"

set title "Receive latency on a pseudo-terminal: frame written to frame in hand"
set xlabel "latency, µs (log scale)"
set ylabel "share of frames, %"
set logscale x
set format x "%g"
set xrange [*:*]
set yrange [0:100]
set key inside bottom right
plot data."/receive_latency.dat" using 2:1 with lines linewidth 2 title "main window, to DispatchResponse", \
     data."/receive_latency.dat" using 3:1 with lines linewidth 2 title "TRsComm alone", \
     data."/receive_latency.dat" using 4:1 with lines linewidth 2 title "QSerialPort"
unset multiplot
