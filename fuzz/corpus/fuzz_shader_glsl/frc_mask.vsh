vs.1.1
frc	r2.x,c4