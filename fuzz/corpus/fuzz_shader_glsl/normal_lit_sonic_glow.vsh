vs.1.1
mov	oT0, v2
sub	r0.xyz, v0.xyz, c5.xyz
dp3	r0.w, r0.xyz, r0.xyz
rsq	r1.w, r0.w
mul	r0.xyzw, r0.xyzw, r1.wwww
sub	r5.w, r0.w, c5.w
sge	r1.w, c4.x, r5.w
add	r5.w, c6.y, r5.w
max	r5.w, c4.x, r5.w
mul	r5.w, r1.w, r5.w
mad	r5.xyz, r0.xyz, r5.www, v0.xyz
sge	r5.w, r5.x, r5.x
m4x4	r2, r5, c0
mov	oPos, r2
dp3	r1.x, v1.xyz, -r0.xyz
sub	r1.y, c6.z, r0.w
max	r1.xy, c4.x, r1.xy
mul	oD1.xyz, r1.xxx, r1.yyy
mov	oD0.rgb, c7
mov	oD0.a, c4.y
